// Birth of a slightly mutated copy of a mature creature.
#pragma once

#include "sim/records.h"
#include "sim/sim_state.h"

namespace vivarix {

// Makes one child of `parent`, which must be the current element of the creature
// list; the caller has already paid the cost (halved the parent's stomach and age).
// The child is inserted directly after the parent and becomes current, so a walk
// goes on after it.  It copies the parent with age 0, stress 0, a heading drawn
// with randomInt(7), and then twelve mutation chances in a fixed order: kPoints,
// maxAge, maxAge again, stomachCapacity, maturityAge, stressTolerance, and the six
// genes.  Each chance draws randomInt(100); above 90 it draws its change at once:
// randomInt(1) - 1 for kPoints and the genes (genes stop at 0), randomInt(10) - 10
// for the others.  Mutation never raises a trait.  The colour is recomputed last.
// kindCount of the parent's kind grows by one.
// When no element can be allocated the failure is reported and counted as a memory
// detour, no child is made, kindCount is unchanged and the parent stays current.
void reproduceCreature(SimState& state, Creature& parent);

}  // namespace vivarix
