#include "app/app_state.h"

namespace vivarix {

void initialiseState(AppState& state, Controls* controls, MessageBoxes* messages, std::uint64_t seed) {
    seedRandom(state.random, seed);
    state.seed = seed;
    state.sessionTicks = 0;
    state.controls = controls;
    state.messages = messages;
    state.frameDelayMs = 0;
    state.magnifierOn = 0;
    state.colourStatsOn = 0;
    state.newPlateLatch = 0;
    state.placementKind = placeKind0;
    state.plateWidth = 460;
    state.plateHeight = 460;
    state.magnifierX = state.plateWidth >> 1;
    state.magnifierY = state.plateHeight >> 1;
    allocatePlate(state);
    clearList(state.creatureList);
    clearList(state.nutriumList);
    state.frameTimeAccumMs = 0;
    state.frameCounter = 0;
    state.speedIndex = 0;
    state.stepRequested = 0;
    state.watch = PopulationWatch{};
}

std::uint32_t passTime(AppState& state) { return state.passClock ? state.passClock->now() : tickCount(); }

}  // namespace vivarix
