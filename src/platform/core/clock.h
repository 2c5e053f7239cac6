// The millisecond clock and sleeping.
#pragma once

#include <cstdint>

namespace vivarix {

// Milliseconds since an arbitrary fixed point (the system's start on Linux),
// unsigned 32-bit and wrapping.
std::uint32_t tickCount();

// Another source of that clock, for code that takes one (tests set the time).
// now() is in the same units and wraps the same way.
class MillisecondClock {
public:
    virtual ~MillisecondClock() = default;
    virtual std::uint32_t now() = 0;
};

// Suspends the calling thread for ms milliseconds; 0 (or less) only yields.
void sleepMs(std::int32_t ms);

}  // namespace vivarix
