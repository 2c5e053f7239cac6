// Checks of what the simulation must keep true after every pass.
#pragma once

#include <gtest/gtest.h>

#include "sim/sim_state.h"

namespace vivarix::testing {

// kindCount equals a census of the list; the list is linked the same both ways;
// every creature stands on a plate cell inside 1..plate size - 1; genes lie in
// 0..2, headings in 0..7 and kinds in 0..1.
inline ::testing::AssertionResult plateInvariantsHold(const SimState& state) {
    std::int32_t census[2] = {0, 0};
    std::size_t forward = 0;
    const Creature* previous = nullptr;
    for (const Creature* c = state.creatureList.front(); c; c = CreatureList::after(c)) {
        if (CreatureList::before(c) != previous) return ::testing::AssertionFailure() << "broken back link";
        previous = c;
        ++forward;
        if (c->kind != 0 && c->kind != 1) return ::testing::AssertionFailure() << "kind " << c->kind;
        ++census[c->kind];
        if (c->x < 1 || c->y < 1 || c->x >= state.plateWidth || c->y >= state.plateHeight ||
            cellAt(state.plateGrid, c->x, c->y) == -1)
            return ::testing::AssertionFailure() << "creature off the plate at " << c->x << "," << c->y;
        for (const std::int16_t gene : {c->geneV, c->geneR, c->geneSr, c->geneRw, c->geneSl, c->geneL})
            if (gene < 0 || gene > 2) return ::testing::AssertionFailure() << "gene " << gene;
        if (c->direction < 0 || c->direction > 7) return ::testing::AssertionFailure() << "heading " << c->direction;
    }
    if (previous != state.creatureList.back()) return ::testing::AssertionFailure() << "last element is not the tail";
    if (forward != state.creatureList.size()) return ::testing::AssertionFailure() << "size differs from the walk";
    if (census[0] != state.kindCount[0] || census[1] != state.kindCount[1])
        return ::testing::AssertionFailure() << "kindCount " << state.kindCount[0] << "/" << state.kindCount[1]
                                             << " but census " << census[0] << "/" << census[1];
    return ::testing::AssertionSuccess();
}

}  // namespace vivarix::testing
