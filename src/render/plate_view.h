// The plate view: the frame drawn once per tick on the rendering surface's back
// buffer, over the persistent plate picture (image 33).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/colour.h"
#include "render/render_state.h"
#include "sim/plate_setup.h"

namespace vivarix {

inline constexpr std::int32_t plateFont = 34;         // Arial, 8 points
inline constexpr std::int32_t emptiedCellColour = rgb(180, 180, 180);  // light grey

// The picture colour of a plate cell holding nutrient, from the sum s of the levels
// of its neighbourhood: (250 - s) + 256 * (200 - s) + 65536 * 110, whose three low
// bytes are drawn (a large s borrows from the byte above).
std::int32_t nutrientColour(std::int32_t neighbourhoodSum);

// The sum of the plate grid over the 3-by-3 cells around (x, y), counting only
// cells with 0 < column <= plateWidth and 0 < row <= plateHeight; cells off the
// plate add their -1.
std::int32_t neighbourhoodSum(const SimState& state, std::int32_t x, std::int32_t y);

// Paints every queued cell on the plate picture, in queue order (light grey for
// level 0, else the nutrient colour of its current neighbourhood), then empties
// the queue.
void paintQueuedCells(RenderState& state);

// For ticks that no frame follows (a jump): takes the queued cells off the queue
// into `marked`, one byte a cell of (plateWidth + 1) by (plateHeight + 1), each
// marked once however often it changed.
void markQueuedCells(RenderState& state, std::vector<std::uint8_t>& marked);

// Paints every marked cell on the plate picture as paintQueuedCells would paint
// its last change (light grey when it is empty now, else the nutrient colour of its
// current neighbourhood), and clears the marks.
void paintMarkedCells(RenderState& state, std::vector<std::uint8_t>& marked);

// Draws one creature on the open target: a pixel while stomach < 200, else a
// filled square of side stomach / 50 at (x, y) when stress >= stressTolerance,
// else a filled circle of radius stomach / 100 centred at (x, y); in its colour.
void drawCreature(Graphics& g, const Creature& creature);

// One frame: paints the queued cells on the plate picture, copies it to the back
// buffer, draws the creatures in list order over it, then the statistics and the
// legend.  Changes no simulation data except emptying the repaint queue; on return
// the creature list's current element is its last creature (before-first when
// the list is empty), so that a placed creature is appended at the end.
void renderFrame(RenderState& state);

}  // namespace vivarix
