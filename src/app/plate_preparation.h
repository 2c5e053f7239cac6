// Laying out a fresh plate: the plate picture, the grid derived from it, the queued
// nutrient, the legend icons and the colour scale, and a cleared inspector picture.
#pragma once

#include "app/app_state.h"
#include "assets/builtin_images.h"
#include "platform/core/colour.h"
#include "render/magnifier.h"
#include "render/plate_view.h"

namespace vivarix {

// The picture of the "About" tab (the plate picture, the inspector picture and the
// built-in pictures are numbered by render and assets).
inline constexpr std::int32_t aboutImage = 25;
// The inspector picture's background on a fresh plate.
inline constexpr std::int32_t panelGrey = rgb(180, 180, 180);

// Empties the nutrient queue, fills image 10 with panel grey, and on image 33: on
// the first build (newPlateLatch 0) the texture (image 45) and a white disc of
// radius 221; always a plate-grey disc of radius 220 about the centre, then the
// grid laid out from that picture (layOutPlateGrid), then the legend icons and the
// colour scale along the bottom rows.  On a rebuild the picture outside the disc
// keeps what the first build left there.  The creatures are not touched.
void preparePlate(AppState& state);

}  // namespace vivarix
