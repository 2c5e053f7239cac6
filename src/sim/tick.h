// One tick of the simulation, the unit the desktop program's pass, fast runs and
// vivarix-lab all advance by.
#pragma once

#include "sim/sim_state.h"

namespace vivarix {

// Feeding by the mouse, automatic feeding, centre feeding, then the creature
// step, in this order (see feeding.h and creature_step.h for their draws).  The
// cells the tick changes are appended to the nutrient list; whoever shows the
// plate paints and empties it.
void runTick(SimState& state);

// What a drawn frame leaves behind, for a tick that no frame follows: the nutrient
// list emptied and the creature list's current element its last creature
// (before-first when it is empty), so that a placement before the next tick
// appends, as it does after a frame.
void settleWithoutFrame(SimState& state);

}  // namespace vivarix
