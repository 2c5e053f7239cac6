// One tick of every creature.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/records.h"
#include "sim/sim_state.h"

namespace vivarix {

// The turn that the turn wheel picks for a creature and a draw R in 0..10:
// r = S * R / 10 with S the sum of the six genes, then, gene by gene in the order
// V, R, Sr, Rw, Sl, L: keep the heading if geneV >= r, else r -= geneV; turn +1 if
// geneR > r, else r -= geneR; +2 (geneSr), +4 (geneRw), -1 (geneSl), -2 (geneL)
// likewise; no turn when no gene takes it.  Only the first test accepts a tie.
inline std::int32_t turnFor(const Creature& c, std::int32_t draw) {
    const std::int32_t sum = c.geneV + c.geneR + c.geneSr + c.geneRw + c.geneSl + c.geneL;
    std::int32_t r = sum * draw / 10;
    if (c.geneV >= r) return 0;
    r -= c.geneV;
    if (c.geneR > r) return 1;
    r -= c.geneR;
    if (c.geneSr > r) return 2;
    r -= c.geneSr;
    if (c.geneRw > r) return 4;
    r -= c.geneRw;
    if (c.geneSl > r) return -1;
    r -= c.geneSl;
    if (c.geneL > r) return -2;
    return 0;
}

// Visits every creature once in list order: hunger and ageing, a turn (one draw of
// randomInt(10) per visit), one step, the handling of a blocked move with stress
// and attacks, the occupancy mark, eating, death and birth.  Births make their
// draws right after their parent's turn draw; children are not stepped in the tick
// of their birth.  Eaten cells are set to 0 and queued in the nutrient list with
// level 0.  On return the creature grid holds this tick's marks and the creature
// list's current element is its last creature (before-first when it is empty).
//
// Contract on pointers: a list of relayMinimum creatures or more may be re-laid in
// memory at the start of the step (relayInOrder) when its walk has become
// scattered, so pointers and references to its creatures do not survive a step;
// the caller holds none across it (RenderState::selectedCreature is derived anew
// by every frame).  A smaller list is never re-laid: its records stay where they
// are until they die.
inline constexpr std::size_t relayMinimum = 4096;
void stepCreatures(SimState& state);

}  // namespace vivarix
