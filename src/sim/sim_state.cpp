#include "sim/sim_state.h"

namespace vivarix {

void allocatePlate(SimState& state) {
    allocateGrid(state.plateGrid, state.plateWidth + 29, state.plateHeight + 29);
    allocateGrid(state.creatureGrid, state.plateWidth + 29, state.plateHeight + 29);
    state.kindCount = {0, 0, 0};
}

void resetSimulation(SimState& state, MessageBoxes* messages, std::uint64_t seed) {
    seedRandom(state.random, seed);
    state.messages = messages;
    state.plateWidth = plateSide;
    state.plateHeight = plateSide;
    allocatePlate(state);
    clearList(state.creatureList);
    clearList(state.nutriumList);
    state.followed = nullptr;
    state.manualFeeding = {};
    state.autoFeedAmount = 0;
    state.memoryDetours = 0;
}

void reportNoMemory(SimState& state) {
    MessageBoxes& boxes = state.messages ? *state.messages : stderrMessageBoxes();
    boxes.messageBox("Fehler!", "Kein Speicherplatz zum Reservieren des neuen Elements");
}

}  // namespace vivarix
