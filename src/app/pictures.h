// The pictures the program creates and decodes at start-up.
#pragma once

#include "app/app_state.h"

namespace vivarix {

// Creates the black working pictures: image 33 (the plate picture, plate size),
// image 10 (the inspector picture, 245 by 200) and image 25 (230 by 115), in
// this order.
void createWorkPictures(AppState& state);

// Writes the credits on the "About" tab's picture (image 25), in white on its black:
// the program, its version, what it is and its keys.  Needs the font loaded.
void drawCredits(AppState& state);


}  // namespace vivarix
