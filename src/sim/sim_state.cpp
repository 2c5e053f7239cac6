#include "sim/sim_state.h"

namespace vivarix {

void allocatePlate(SimState& state) {
    allocateGrid(state.plateGrid, state.plateWidth + 29, state.plateHeight + 29);
    allocateGrid(state.creatureGrid, state.plateWidth + 29, state.plateHeight + 29);
    state.kindCount = {0, 0, 0};
}

std::int32_t controlState(const SimState& state, std::int32_t control) {
    return state.controls ? state.controls->getControlState(control) : 0;
}

void reportNoMemory(SimState& state) {
    MessageBoxes& boxes = state.messages ? *state.messages : stderrMessageBoxes();
    boxes.messageBox("Fehler!", "Kein Speicherplatz zum Reservieren des neuen Elements");
}

}  // namespace vivarix
