#include "platform/web/pass_schedule.h"

#include <algorithm>

namespace vivarix {

namespace {
constexpr double passInterval = 1000.0 / 61;
}  // namespace

std::uint32_t wrapped(double ms) { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms)); }

void PassSchedule::begin(double now) {
    started = now;
    held = previousEnd >= 0;
}

void PassSchedule::end(double now) {
    earliest = std::max(earliest, started - passInterval) + passInterval;
    earliest = std::max(earliest, now + sleepMs);
    sleepMs = 0;
    previousEnd = now;
    held = false;
}

void PassSchedule::sleep(std::int32_t ms) { sleepMs = std::max(sleepMs, static_cast<double>(ms)); }

std::uint32_t PassSchedule::now() { return wrapped(held ? previousEnd : browserClock()); }

}  // namespace vivarix
