#include "render/legend.h"

#include <string>

#include "platform/core/text.h"
#include "render/plate_view.h"

namespace vivarix {

namespace {
void write(Graphics& g, std::int32_t x, std::int32_t y, const std::string& text) {
    setTextPosition(g, x, y);
    drawText(g, text);
}
const char* onOff(std::int32_t flag) { return flag == 1 ? ": On" : ": Off"; }
}  // namespace

void drawLegend(RenderState& state) {
    Graphics& g = state.graphics;
    setDrawingFont(g, fontHandle(plateFont));
    setFrontColour(g, 0, 0, 0);
    setDrawingMode(g, drawTransparentText);
    write(g, 410, 5, "FPS: " + formatDecimal(state.framesPerSecond));
    write(g, 23, 5, ": " + formatDecimal(state.kindCount[0]));
    write(g, 23, 25, ": " + formatDecimal(state.kindCount[1]));
    write(g, 23, 45, ": " + formatDecimal(state.autoFeedAmount));
    write(g, 23, 65, onOff(state.colourStatsOn));
    write(g, 23, 85, onOff(state.magnifierOn));
    write(g, 23, 105, ": R");
    setDrawingMode(g, 0);
}

std::vector<Desktop::SurfaceTip> legendTips() {
    // Each row: its 15-pixel icon at x 5 and the text from x 23, 20 pixels apart.
    auto row = [](std::int32_t y, const char* text) { return Desktop::SurfaceTip{3, y - 2, 80, 19, text}; };
    return {
        row(5, "Blue creatures living on the plate (C: a left click places blue)"),
        row(25, "Red creatures living on the plate (S: a left click places red)"),
        row(45, "A: nutrient dropped at random places in every tick (the \"Auto:\" slider)"),
        row(65, "Colour statistics of the strains, on or off (G)"),
        row(85, "Magnifier and creature inspector, on or off (L)"),
        row(105, "R moves the magnifier to the pointer"),
        {405, 3, 55, 15, "Frames drawn a second"},
    };
}

}  // namespace vivarix
