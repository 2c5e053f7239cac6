#include "app/app_state.h"

#include <memory>

namespace vivarix {

void initialiseState(AppState& state, Controls* controls, MessageBoxes* messages, std::uint64_t seed) {
    resetSimulation(state, messages, seed);
    state.session.seed = seed;
    state.session.ticks = 0;
    state.controls = controls;
    state.frameDelayMs = 0;
    state.magnifierOn = 0;
    state.colourStatsOn = 0;
    state.newPlateLatch = 0;
    state.placementKind = placeKind0;
    state.magnifierX = state.plateWidth >> 1;
    state.magnifierY = state.plateHeight >> 1;
    state.frameTimeAccumMs = 0;
    state.frameCounter = 0;
    state.speedIndex = 0;
    state.stepRequested = 0;
    // Made anew in place: a fresh record assigned would be a temporary as large as
    // the history's room, too large for a small stack (the page's).
    std::destroy_at(&state.watch);
    std::construct_at(&state.watch);
    state.replay.reset();
}

std::int32_t controlState(const AppState& state, std::int32_t control) {
    return state.controls ? state.controls->getControlState(control) : 0;
}

std::uint32_t passTime(AppState& state) { return state.passClock ? state.passClock->now() : tickCount(); }

}  // namespace vivarix
