#include "sim/tick.h"

#include "sim/creature_step.h"
#include "sim/feeding.h"

namespace vivarix {

void runTick(SimState& state) {
    feedByMouse(state);
    feedAutomatically(state);
    feedCentre(state);
    stepCreatures(state);
}

void settleWithoutFrame(SimState& state) {
    clearList(state.nutriumList);
    if (Creature* last = state.creatureList.back())
        changeCurrentElement(state.creatureList, last);
    else
        resetList(state.creatureList);
}

}  // namespace vivarix
