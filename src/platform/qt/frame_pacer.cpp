#include "platform/qt/frame_pacer.h"

#include <thread>

namespace vivarix {

namespace {
// How long before the deadline sleeping stops and spinning takes over.
constexpr auto spinMargin = std::chrono::microseconds{1500};
}  // namespace

void FramePacer::wait() {
    if (started) {
        const Clock::time_point deadline = lastEnd + period;
        if (Clock::now() < deadline - spinMargin) std::this_thread::sleep_until(deadline - spinMargin);
        while (Clock::now() < deadline) std::this_thread::yield();
    }
    mark();
}

void FramePacer::mark() {
    lastEnd = Clock::now();
    started = true;
}

}  // namespace vivarix
