// Appending to the nutrient list, the queue of plate cells the next frame repaints.
#pragma once

#include <cstdint>

#include "sim/sim_state.h"

namespace vivarix {

// Appends a repaint of cell (x, y) after the nutrient list's current element and
// returns it, its level 0 for the caller to set.  When no element can be allocated
// it shows "Fehler!" (reportNoMemory) and returns nullptr; the caller goes on
// without the repaint.
NutriumParticle* queueRepaint(SimState& state, std::int32_t x, std::int32_t y);

}  // namespace vivarix
