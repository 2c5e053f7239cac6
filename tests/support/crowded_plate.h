// A crowded plate for tests of the creature step.
#pragma once

#include <cstdint>

#include "sim/sim_state.h"

namespace vivarix::test {

// A disc-shaped plate with nutrient, crowded in one corner region: creatures of
// both kinds stacked several to a cell, with low and varied stress tolerances, so
// that blocked moves, attacks, standoffs and mutual removals are frequent.
void crowdedPlate(SimState& s, std::uint64_t seed, std::int32_t creatures);

}  // namespace vivarix::test
