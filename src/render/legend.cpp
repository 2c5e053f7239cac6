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

}  // namespace vivarix
