#include "sim/tick.h"


namespace vivarix {

void runTick(SimState& state) {
    for (const TickStage& stage : tickStages) stage.run(state);
}

void settleWithoutFrame(SimState& state) {
    clearList(state.nutriumList);
    settleCreatureList(state);
}

void settleCreatureList(SimState& state) {
    if (Creature* last = state.creatureList.back())
        changeCurrentElement(state.creatureList, last);
    else
        resetList(state.creatureList);
}

}  // namespace vivarix
