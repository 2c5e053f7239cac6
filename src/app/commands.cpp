#include "app/commands.h"

#include "app/plate_preparation.h"
#include "sim/plate_setup.h"

namespace vivarix {

PlaceResult placeCreature(AppState& state) {
    if (state.paused == 1) return {PlaceRefusal::paused};
    if (static_cast<std::int16_t>(state.mouseX) >= state.plateWidth) return {PlaceRefusal::controlColumn};
    return placeCreatureByHand(state);
}

void newPlate(AppState& state) {
    state.newPlateLatch = 1;
    preparePlate(state);
    clearList(state.creatureList);
    state.kindCount = {0, 0, 0};
    state.topColourCreature = {};
}

}  // namespace vivarix
