#include "render/magnifier.h"

#include "platform/core/colour.h"
#include "platform/core/text.h"
#include "render/plate_view.h"

namespace vivarix {

namespace {

std::int32_t kindColour(const Creature& c) { return c.kind == 1 ? magnifiedKind1Colour : magnifiedKind0Colour; }

std::int32_t cellColour(const RenderState& state, std::int32_t px, std::int32_t py) {
    if (px < 0 || py < 0 || px > state.plateWidth || py > state.plateHeight) return 0;
    const std::int16_t level = cellOrOff(state.plateGrid, px, py);
    if (level == -1) return 0;
    if (level == 0) return emptiedCellColour;
    return nutrientColour(level);
}

bool insideArea(const RenderState& state, const Creature& c) {
    return c.x >= state.magnifierX - 24 && c.x <= state.magnifierX + 24 && c.y >= state.magnifierY - 20 &&
           c.y <= state.magnifierY + 20;
}

std::int32_t blockX(const RenderState& state, std::int32_t x) { return (x - state.magnifierX + 24) * 5; }
std::int32_t blockY(const RenderState& state, std::int32_t y) { return (y - state.magnifierY + 20) * 5; }

}  // namespace

void centreMagnifier(RenderState& state, std::int32_t x, std::int32_t y) {
    state.magnifierX = x;
    state.magnifierY = y;
    if (state.magnifierX + 24 > state.plateWidth)
        state.magnifierX = state.plateWidth - 24;
    else if (state.magnifierX - 24 < 0)
        state.magnifierX = 24;
    if (state.magnifierY + 20 > state.plateHeight)
        state.magnifierY = state.plateHeight - 20;
    else if (state.magnifierY - 20 < 0)
        state.magnifierY = 20;
}

void chooseObservedCreature(RenderState& state) {
    if (state.magnifierOn != 1) return;
    if (state.followed) {
        state.selectedCreature = state.followed;
        centreMagnifier(state, state.followed->x, state.followed->y);
        return;
    }
    state.selectedCreature = state.creatureList.front();
    if (!state.selectedCreature) state.magnifierOn = 0;
}

void drawMagnifierFrame(RenderState& state) {
    Graphics& g = state.graphics;
    setDrawingMode(g, drawOutline);
    drawBox(g, state.magnifierX - 24, state.magnifierY - 20, 48, 40, magnifierGreen);
    setDrawingMode(g, 0);

    const Creature& c = *state.selectedCreature;
    const std::int32_t m = c.stomach;
    if (m < 200) {
        drawCircle(g, c.x, c.y, 2, magnifierGreen);
        plotPixel(g, c.x, c.y, c.colour);
    } else if (c.stress >= c.stressTolerance) {
        // A green edge on every side of the creature's usual square.
        const std::int32_t side = m / 50;
        drawBox(g, c.x - 1, c.y - 1, side + 2, side + 2, magnifierGreen);
        drawBox(g, c.x, c.y, side, side, c.colour);
    } else {
        drawCircle(g, c.x, c.y, m / 100 + 1, magnifierGreen);
        drawCircle(g, c.x, c.y, m / 100, c.colour);
    }
}

std::vector<InspectorLine> inspectorLines(const Creature& c) {
    auto d = [](std::int32_t value) { return formatDecimal(value); };
    return {
        {5, "Magen: " + d(c.stomach) + " (" + d(c.stomachCapacity) + ")"},
        {15, "Alter: " + d(c.age) + " (" + d(c.maxAge) + ")"},
        {25, "Sex: " + d(c.sexMarker) + " (" + d(c.maturityAge) + ")"},
        {35, "Stress: " + d(c.stress) + " (" + d(c.stressTolerance) + ")"},
        {45, "kPoints: " + d(c.kPoints)},
        {65, "v: " + d(c.geneV)},
        {75, "r: " + d(c.geneR)},
        {85, "sr: " + d(c.geneSr)},
        {95, "rw: " + d(c.geneRw)},
        {105, "sl: " + d(c.geneSl)},
        {115, "l: " + d(c.geneL)},
    };
}

void drawMagnifierView(RenderState& state) {
    Graphics& g = state.graphics;
    startDrawing(g, imageOutput(inspectorImage));
    if (state.magnifierOn != 1 || !state.selectedCreature) {
        stopDrawing(g);
        return;
    }
    for (std::int32_t dx = -24; dx <= 24; ++dx)
        for (std::int32_t dy = -20; dy <= 20; ++dy)
            drawBox(g, (dx + 24) * 5, (dy + 20) * 5, 5, 5,
                    cellColour(state, state.magnifierX + dx, state.magnifierY + dy));

    const Creature& observed = *state.selectedCreature;
    for (const Creature* c = state.creatureList.front(); c; c = CreatureList::after(c))
        if (c != &observed && insideArea(state, *c)) drawBox(g, blockX(state, c->x), blockY(state, c->y), 5, 5, kindColour(*c));
    if (insideArea(state, observed)) {
        const std::int32_t x = blockX(state, observed.x);
        const std::int32_t y = blockY(state, observed.y);
        drawBox(g, x, y, 5, 5, magnifierGreen);
        drawBox(g, x + 1, y + 1, 3, 3, kindColour(observed));
    }

    setDrawingFont(g, fontHandle(plateFont));
    setFrontColour(g, 0, 0, 0);
    setDrawingMode(g, drawTransparentText);
    for (const InspectorLine& line : inspectorLines(observed)) {
        setTextPosition(g, 5, line.y);
        drawText(g, line.text);
    }
    setDrawingMode(g, 0);
    stopDrawing(g);
}

}  // namespace vivarix
