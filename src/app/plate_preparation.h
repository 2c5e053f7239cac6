// Laying out a fresh plate: the plate picture, the grid derived from it, the queued
// nutrient, the legend icons and the colour scale, and a cleared inspector picture.
#pragma once

#include "app/app_state.h"

namespace vivarix {

// Image numbers of the pictures the program draws on or shows.
inline constexpr std::int32_t inspectorImage = 10;
inline constexpr std::int32_t aboutImage = 25;
inline constexpr std::int32_t plateImage = 33;
inline constexpr std::int32_t thermometerImage = 35;
inline constexpr std::int32_t kind0Image = 36;
inline constexpr std::int32_t kind1Image = 37;
inline constexpr std::int32_t autoFeedImage = 40;
inline constexpr std::int32_t statsOffImage = 41;
inline constexpr std::int32_t statsOnImage = 42;
inline constexpr std::int32_t magnifierOffImage = 43;
inline constexpr std::int32_t magnifierOnImage = 44;
inline constexpr std::int32_t plateTextureImage = 45;
inline constexpr std::int32_t cloudTextureImage = 46;

// Empties the nutrient queue, fills image 10 with panel grey, and on image 33: on
// the first build (newPlateLatch 0) the texture (image 45) and a white disc of
// radius 221; always a plate-grey disc of radius 220 about the centre, then the
// grid laid out from that picture (layOutPlateGrid), then the legend icons and the
// colour scale along the bottom rows.  On a rebuild the picture outside the disc
// keeps what the first build left there.  The creatures are not touched.
void preparePlate(AppState& state);

}  // namespace vivarix
