#include "app/speed.h"

#include "app/app_state.h"
#include "app/population_watch.h"
#include "app/replay.h"
#include "app/startup.h"

namespace vivarix {

void cycleSpeed(AppState& state) {
    state.speedIndex = (state.speedIndex + 1) % static_cast<std::int32_t>(passSpeeds.size());
}

std::string mainWindowTitle(const AppState& state) {
    std::string title = programTitle;
    if (state.replay) {
        const std::string end = std::to_string(state.replay->lastTick);
        title += atRecordingEnd(state) ? "  replay end " + end
                                       : "  replay " + std::to_string(state.session.ticks) + "/" + end;
    }
    if (state.paused == 1) return title + "  *** PAUSE ***";
    const std::int32_t speed = passSpeeds[static_cast<std::size_t>(state.speedIndex)];
    if (speed == maxSpeed) return title + "  >> max";
    if (speed > 1) title += "  >> x" + std::to_string(speed);
    return title;
}

std::int32_t runPassTicks(AppState& state) {
    const std::int32_t speed = passSpeeds[static_cast<std::size_t>(state.speedIndex)];
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::int32_t ticks = 0;
    while (!atRecordingEnd(state)) {
        runWatchedTick(state);
        ++ticks;
        if (speed == maxSpeed ? Clock::now() - start >= state.maxSpeedTicks : ticks == speed) break;
    }
    return ticks;
}

}  // namespace vivarix
