// Holds presents to at most 61 a second without burning a core.
#pragma once

#include <chrono>

namespace vivarix {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // 1/61 s rounded up to whole nanoseconds, so that the spacing is never shorter.
    static constexpr Clock::duration period = std::chrono::nanoseconds{(1'000'000'000 + 60) / 61};

    // Waits until at least `period` has passed since the previous wait ended (no wait
    // the first time, or when that much time has already passed), then marks the end
    // of this wait.  Sleeps until shortly before the deadline and spins only the last
    // stretch, because the scheduler may oversleep by a millisecond or so.
    void wait();

    // Marks "now" as the end of a wait without waiting: a present that was not asked
    // to wait still counts as the previous present for the next one.
    void mark();

private:
    Clock::time_point lastEnd{};
    bool started = false;
};

}  // namespace vivarix
