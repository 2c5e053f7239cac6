#include "sim/feeding.h"

#include "sim/repaint_queue.h"

namespace vivarix {

namespace {

constexpr std::int32_t manualCap = 5;

bool onPlate(const SimState& state, std::int32_t x, std::int32_t y) {
    return x >= 0 && x <= state.plateWidth && y >= 0 && y <= state.plateHeight &&
           cellOrOff(state.plateGrid, x, y) != -1;
}

}  // namespace

void addCappedUnit(SimState& state, std::int32_t x, std::int32_t y) {
    // The entry comes first: a cell whose repaint cannot be queued stays as it was.
    NutriumParticle* p = queueRepaint(state, x, y);
    if (!p) {
        ++state.memoryDetours;
        return;
    }
    std::int16_t& cell = cellAt(state.plateGrid, x, y);
    const std::int32_t raised = cell + 1;  // full int width: a cell at 32767 caps to 5
    cell = static_cast<std::int16_t>(raised > manualCap ? manualCap : raised);
    p->level = cell;
}

void feedByMouse(SimState& state) {
    const ManualFeeding& feed = state.manualFeeding;
    // The signed 16-bit comparison of the pointer column with the plate width.
    if (feed.active != 1 || static_cast<std::int16_t>(feed.x) >= state.plateWidth) return;
    if (cellOrOff(state.plateGrid, feed.x, feed.y) == -1) return;
    const std::int32_t half = feed.spread >> 1;
    for (std::int32_t attempt = 0; attempt < 9 * feed.grains; ++attempt) {
        const std::int32_t x = feed.x + randomInt(state.random, feed.spread) - half;
        const std::int32_t y = feed.y + randomInt(state.random, feed.spread) - half;
        if (onPlate(state, x, y)) addCappedUnit(state, x, y);
    }
}

void feedAutomatically(SimState& state) {
    for (std::int32_t attempt = 0; attempt < state.autoFeedAmount; ++attempt) {
        const std::int32_t x = randomInt(state.random, state.plateWidth);
        const std::int32_t y = randomInt(state.random, state.plateHeight);
        std::int16_t& cell = cellAt(state.plateGrid, x, y);
        if (cell == -1) continue;
        if (cell < INT16_MAX) ++cell;  // the cell is 16 bits wide: it stops at 32767
        if (NutriumParticle* p = queueRepaint(state, x, y)) p->level = cell;
    }
}

void feedCentre(SimState& state) {
    const std::int32_t cx = state.plateWidth >> 1;
    const std::int32_t cy = state.plateHeight >> 1;
    for (std::int32_t dx = -5; dx <= 5; ++dx)
        for (std::int32_t dy = -5; dy <= 5; ++dy)
            if (cellOrOff(state.plateGrid, cx + dx, cy + dy) != -1) addCappedUnit(state, cx + dx, cy + dy);
}

}  // namespace vivarix
