#include "app/go_to_tick.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/open_session.h"
#include "app/population_watch.h"
#include "render/plate_view.h"

namespace vivarix {

void goToTick(AppState& state, Desktop& desktop, std::uint64_t tick) {
    if (!state.replay) return;
    const std::uint64_t target = std::min(tick, state.replay->lastTick);
    if (target < state.session.ticks && !restartReplay(state)) return;
    const std::uint64_t from = state.session.ticks;

    desktop.beginProgress("Going to tick " + std::to_string(target));
    std::uint32_t reported = passTime(state);
    std::uint64_t sinceSample = 0;
    std::vector<std::uint8_t> changed;
    while (state.replay && state.session.ticks < target) {
        runWatchedTick(state);
        markQueuedCells(state, changed);
        if (++sinceSample == jumpSampleTicks) {
            sinceSample = 0;
            sampleDrawnFrame(state);
        }
        if (passTime(state) - reported < jumpProgressMs) continue;
        const double done = static_cast<double>(state.session.ticks - from) / static_cast<double>(target - from);
        if (!desktop.showProgress(
                "Tick " + std::to_string(state.session.ticks) + " of " + std::to_string(target),
                static_cast<std::int32_t>(done * 1000)))
            break;
        reported = passTime(state);
    }
    desktop.endProgress();
    paintMarkedCells(state, changed);
    renderFrame(state);
    sampleDrawnFrame(state);
    if (atRecordingEnd(state)) state.paused = 1;
}

void askAndGoToTick(AppState& state, Desktop& desktop) {
    if (!state.replay) return;
    const std::uint64_t last = state.replay->lastTick;
    const std::optional<std::uint64_t> tick =
        desktop.askTick("Go to tick", "Tick of the recording (0 to " + std::to_string(last) + "):",
                        state.session.ticks, last);
    if (tick) goToTick(state, desktop, *tick);
}

}  // namespace vivarix
