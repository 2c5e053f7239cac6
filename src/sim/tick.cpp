#include "sim/tick.h"

namespace vivarix {

void runTick(SimState& state) {
    for (const TickStage& stage : tickStages) stage.run(state);
}

void makeLastCurrent(SimState& state) {
    if (Creature* last = state.creatureList.back())
        changeCurrentElement(state.creatureList, last);
    else
        resetList(state.creatureList);
}

void settleWithoutFrame(SimState& state) {
    clearList(state.nutriumList);
    makeLastCurrent(state);
}

}  // namespace vivarix
