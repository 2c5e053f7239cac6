// The three nutrient sources of a tick, run in this order before the creature step.
//
// Each unit raises one plate cell by one and queues the cell's new level in the
// nutrient list for repainting.  Draw order: per attempt the x offset, then the y
// offset (manual feeding) or x, then y (automatic feeding); the centre source draws
// nothing.  A failed append is reported and the pass goes on.
#pragma once

#include "sim/sim_state.h"

namespace vivarix {

// While manualFeeding is active and its pointer (x, y) stands on a plate cell (x
// compared with plateWidth in 16 bits): 9 * grains attempts, each at x +
// randomInt(S) - S/2, y + randomInt(S) - S/2 (S = spread); attempts off the plate
// are skipped, the others add a unit capped at 5.
void feedByMouse(SimState& state);

// autoFeedAmount attempts at (randomInt(plateWidth), randomInt(plateHeight));
// attempts off the plate are skipped, the others raise the cell by one, up to
// 32767 (the cell's width), and queue it.
void feedAutomatically(SimState& state);

// One unit capped at 5 on each cell of the 11-by-11 block around the plate centre.
void feedCentre(SimState& state);

// Adds one unit to the plate cell (x, y), leaving it at no more than 5, and queues
// it.  When the queue entry cannot be allocated the failure is reported, counted
// as a memory detour, and the cell is left unchanged.
void addCappedUnit(SimState& state, std::int32_t x, std::int32_t y);

}  // namespace vivarix
