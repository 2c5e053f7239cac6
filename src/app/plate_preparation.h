// Laying out the start-up plate, with the pictures of the control column.
#pragma once

#include "app/app_state.h"
#include "assets/builtin_images.h"
#include "platform/core/colour.h"
#include "render/magnifier.h"
#include "render/plate_view.h"
#include "session/plate.h"

namespace vivarix {

// The picture of the "About" tab (the plate picture, the inspector picture and the
// built-in pictures are numbered by sim, render and assets).
inline constexpr std::int32_t aboutImage = 25;

// Fills the inspector picture (image 10) with panel grey.
void clearInspectorPicture(AppState& state);

// Clears the inspector picture, then lays out the plate (layOutPlate): as the first
// build while newPlateLatch is 0, else as a rebuild, with the nutrient option the
// panel shows ("Random" selected: at random).
void preparePlate(AppState& state);

}  // namespace vivarix
