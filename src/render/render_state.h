// The part of the application state that the plate view, the statistics overlay
// and the magnifier read and write, on top of the simulation's.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/sim_state.h"

namespace vivarix {

struct RenderState : SimState {
    std::int32_t colourStatsOn = 0;  // colour statistics shown
    std::int32_t magnifierOn = 0;    // magnifier and inspector shown (tested as > 0)
    std::int32_t magnifierX = 230;   // centre of the magnified 49-by-41 area
    std::int32_t magnifierY = 230;
    std::int32_t framesPerSecond = 0;  // shown after "FPS: "
    Creature* selectedCreature = nullptr;  // the creature the inspector describes

    // Per kind, a copy of a creature of the most frequent colour (statistics).
    std::array<Creature, 3> topColourCreature{};
};

}  // namespace vivarix
