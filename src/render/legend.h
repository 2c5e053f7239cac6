// The legend written over the plate view in every frame: the figures beside the
// legend icons of the plate picture, and the frame rate.
#pragma once

#include <vector>

#include "platform/core/desktop.h"
#include "render/render_state.h"

namespace vivarix {

// On the open target, in font 34, black, on a transparent background:
// "FPS: " and the frame rate at (410, 5); beside the icons at x = 23: ": " and the
// creatures of kind 0 (y 5) and of kind 1 (y 25), ": " and autoFeedAmount (y 45),
// ": On" or ": Off" for the statistics (y 65) and for the magnifier (y 85), and
// ": R" (y 105).  Leaves the drawing mode normal.
void drawLegend(RenderState& state);

// What each item of the legend means, over the area it takes on the plate: the
// rendering surface shows these as tooltips.
std::vector<Desktop::SurfaceTip> legendTips();

}  // namespace vivarix
