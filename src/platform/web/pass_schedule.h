// When the page runs the main loop's passes, and the clock that times them.
//
// The browser calls the page once per animation frame (usually 60 times a second);
// a pass runs in a frame when it is due: at most 61 passes a second, as the
// desktop's present caps them, and not before a sleep the program asked for has
// passed.  A page must never block, so the waits happen between the passes instead
// of inside them.
//
// The clock (a MillisecondClock for AppState::passClock) makes the passes' times
// read as on the desktop, whose pass waits for its frame inside presentFrame: from
// the start of a pass until its present it stands at the end of the previous pass,
// so the wait between the passes counts for the pass that follows it, and the
// frame rate shown is that of the passes.
#pragma once

#include <cstdint>

#include "platform/core/clock.h"

namespace vivarix {

class PassSchedule final : public MillisecondClock {
public:
    // `clock` gives the browser's time in milliseconds (browserNow in the page).
    explicit PassSchedule(double (*clock)()) : browserClock(clock) {}

    // Whether a pass may start at `now` (milliseconds of the browser's clock).
    bool due(double now) const { return now >= earliest; }

    // A pass starts at `now`; the clock stands at the previous pass's end.
    void begin(double now);
    // The pass has presented its frame: the clock runs again.
    void presented() { held = false; }
    // The pass ended at `now`: the next one is due 1/61 s after this one started
    // (but no more than one pass in arrears), and not before the sleep asked for.
    void end(double now);
    // Asks for the next pass to wait `ms` milliseconds after this one ends (the
    // desktop's sleep when a pass had no event); 0 or less asks for no wait.
    void sleep(std::int32_t ms);

    std::uint32_t now() override;

private:
    double (*browserClock)();
    double earliest = 0;      // the next pass is due from then on
    double started = 0;       // the current pass's start
    double previousEnd = -1;  // the last pass's end; -1 before the first
    double sleepMs = 0;
    bool held = false;
};

// The page's one schedule, on browserNow; the page's sleepMs goes to it.
PassSchedule& passSchedule();

// The browser's monotonic clock in milliseconds (performance.now()).
double browserNow();

// Milliseconds as the millisecond clock counts them: unsigned 32-bit, wrapping.
std::uint32_t wrapped(double ms);

}  // namespace vivarix
