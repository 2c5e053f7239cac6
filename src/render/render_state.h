// The part of the application state that the plate view, the statistics overlay
// and the magnifier read and write, on top of the simulation's.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/colour_stats.h"
#include "sim/sim_state.h"

namespace vivarix {

struct RenderState : SimState {
    std::int32_t colourStatsOn = 0;  // colour statistics shown
    std::int32_t magnifierOn = 0;    // magnifier and inspector shown (0 or 1)
    std::int32_t magnifierX = 230;   // centre of the magnified 49-by-41 area
    std::int32_t magnifierY = 230;
    std::int32_t framesPerSecond = 0;  // shown after "FPS: "
    // The creature the inspector describes.  Derived by every frame before use and
    // not trusted after it: a creature step may re-lay the list in memory.
    Creature* selectedCreature = nullptr;

    // Colour statistics of the current frame, per kind (the third never used):
    // creatures per colour with the distinct colours in order of first appearance,
    // the highest count, and a copy of the creature that first reached it.
    std::array<KindColourCounts, 3> colourCounts;
    std::array<std::int32_t, 3> topColourFrequency{};
    std::array<Creature, 3> topColourCreature{};
};

}  // namespace vivarix
