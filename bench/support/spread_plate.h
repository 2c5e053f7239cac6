// The plate the step's benchmarks run on, for vivarix-bench and vivarix-step-speed
// (which is also built as WebAssembly, without the benchmark library).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "session/control_table.h"
#include "session/input.h"
#include "session/plate.h"

namespace vivarix::bench {

// A random plate prepared as at start-up, with `count` creatures of both kinds
// spread over it, one to a cell, placed as clicks at the sliders' start positions.
inline std::unique_ptr<SimState> spreadPlate(std::int64_t count, std::uint64_t seed) {
    auto state = std::make_unique<SimState>();
    SimState& s = *state;
    resetSimulation(s, nullptr, seed);
    createPlatePicture(s);
    decodeBuiltinPictures(s);
    layOutPlate(s, PlateBuild::first, true);
    Random where;
    seedRandom(where, seed + 1);
    std::vector<bool> taken(s.plateGrid.cells.size());
    while (static_cast<std::int64_t>(s.creatureList.size()) < count) {
        const std::int32_t x = randomInt(where, plateSide - 1);
        const std::int32_t y = randomInt(where, plateSide - 1);
        const PlaceInput click{x, y, randomInt(where, 1), trackbar::magen.initial, trackbar::alter.initial,
                               trackbar::reif.initial};
        const auto cell = static_cast<std::size_t>(cellIndex(s.plateGrid, x, y));
        if (!taken[cell] && applyInput(s, click)) taken[cell] = true;
    }
    return state;
}

}  // namespace vivarix::bench
