#include "app/speed.h"

#include "app/app_state.h"
#include "app/population_watch.h"
#include "app/startup.h"

namespace vivarix {

void cycleSpeed(AppState& state) {
    state.speedIndex = (state.speedIndex + 1) % static_cast<std::int32_t>(passSpeeds.size());
}

std::string mainWindowTitle(const AppState& state) {
    std::string title = programTitle;
    if (state.paused == 1) return title + "  *** PAUSE ***";
    const std::int32_t speed = passSpeeds[static_cast<std::size_t>(state.speedIndex)];
    if (speed == maxSpeed) return title + "  >> max";
    if (speed > 1) title += "  >> x" + std::to_string(speed);
    return title;
}

std::int32_t runPassTicks(AppState& state) {
    const std::int32_t speed = passSpeeds[static_cast<std::size_t>(state.speedIndex)];
    if (speed != maxSpeed) {
        for (std::int32_t i = 0; i < speed; ++i) runWatchedTick(state);
        return speed;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::int32_t ticks = 0;
    do {
        runWatchedTick(state);
        ++ticks;
    } while (Clock::now() - start < maxSpeedBudget);
    return ticks;
}

}  // namespace vivarix
