#include "render/plate_view.h"

#include "platform/core/colour.h"
#include "platform/core/wrap.h"
#include "render/colour_stats.h"
#include "render/legend.h"
#include "render/magnifier.h"

namespace vivarix {

std::int32_t nutrientColour(std::int32_t s) {
    return wrapAdd32(wrapAdd32(wrapSub32(250, s), wrapMul32(256, wrapSub32(200, s))), 65536 * 110);
}

std::int32_t neighbourhoodSum(const SimState& state, std::int32_t x, std::int32_t y) {
    std::int32_t sum = 0;
    for (std::int32_t cx = x - 1; cx <= x + 1; ++cx) {
        if (cx <= 0 || cx > state.plateWidth) continue;
        for (std::int32_t cy = y - 1; cy <= y + 1; ++cy)
            if (cy > 0 && cy <= state.plateHeight) sum += cellAt(state.plateGrid, cx, cy);
    }
    return sum;
}

void paintQueuedCells(RenderState& state) {
    Graphics& g = state.graphics;
    startDrawing(g, imageOutput(plateImage));
    for (const NutriumParticle* p = state.nutriumList.front(); p; p = NutriumList::after(p))
        plotPixel(g, p->x, p->y, p->level == 0 ? emptiedCellColour : nutrientColour(neighbourhoodSum(state, p->x, p->y)));
    stopDrawing(g);
    clearList(state.nutriumList);
}

void markQueuedCells(RenderState& state, std::vector<std::uint8_t>& marked) {
    const std::size_t columns = static_cast<std::size_t>(state.plateWidth) + 1;
    marked.resize(columns * (static_cast<std::size_t>(state.plateHeight) + 1));
    for (const NutriumParticle* p = state.nutriumList.front(); p; p = NutriumList::after(p))
        if (p->x >= 0 && p->x <= state.plateWidth && p->y >= 0 && p->y <= state.plateHeight)
            marked[static_cast<std::size_t>(p->y) * columns + static_cast<std::size_t>(p->x)] = 1;
    clearList(state.nutriumList);
}

void paintMarkedCells(RenderState& state, std::vector<std::uint8_t>& marked) {
    const std::size_t columns = static_cast<std::size_t>(state.plateWidth) + 1;
    Graphics& g = state.graphics;
    startDrawing(g, imageOutput(plateImage));
    for (std::size_t i = 0; i < marked.size(); ++i) {
        if (!marked[i]) continue;
        marked[i] = 0;
        const auto x = static_cast<std::int32_t>(i % columns), y = static_cast<std::int32_t>(i / columns);
        plotPixel(g, x, y, cellAt(state.plateGrid, x, y) == 0 ? emptiedCellColour
                                                                : nutrientColour(neighbourhoodSum(state, x, y)));
    }
    stopDrawing(g);
}

void drawCreature(Graphics& g, const Creature& c) {
    const std::int32_t m = c.stomach;
    if (m < 200)
        plotPixel(g, c.x, c.y, c.colour);
    else if (c.stress >= c.stressTolerance)
        drawBox(g, c.x, c.y, m / 50, m / 50, c.colour);
    else
        drawCircle(g, c.x, c.y, m / 100, c.colour);
}

void renderFrame(RenderState& state) {
    paintQueuedCells(state);

    Graphics& g = state.graphics;
    startDrawing(g, screenOutput());
    drawImage(g, imageHandle(g, plateImage), 0, 0);

    // While the magnifier is on, the creature pass leaves the observed creature out
    // (of the drawing and of the statistics); it is drawn last, over everything, by
    // the magnifier frame.
    CreatureList& list = state.creatureList;
    chooseObservedCreature(state);
    const bool stats = state.colourStatsOn == 1;
    if (stats) resetColourStats(state);
    const Creature* observed = state.magnifierOn == 1 ? state.selectedCreature : nullptr;
    resetList(list);
    while (const Creature* c = nextElement(list)) {
        if (c == observed) continue;
        if (stats) countCreature(state, *c);
        drawCreature(g, *c);
    }
    if (stats) drawColourStats(state);
    drawLegend(state);
    if (state.magnifierOn == 1) drawMagnifierFrame(state);
    stopDrawing(g);

    drawMagnifierView(state);
}

}  // namespace vivarix
