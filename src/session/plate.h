// Laying out a plate: the plate picture, the grid derived from it and the legend
// along its border, for the desktop program, vivarix-lab and the browser alike.
#pragma once

#include "sim/sim_state.h"

namespace vivarix {

// Creates the black plate picture (image 33, plate size).
void createPlatePicture(SimState& state);

// Decodes the built-in pictures 35 to 46 in number order, resizing image 45 to the
// plate size right after it is decoded and image 46 to cloudPictureSize after it.
// Returns false when a picture does not decode (the built-in files always do).
bool decodeBuiltinPictures(SimState& state);

enum class PlateBuild { first, rebuild };

// Empties the nutrient queue and draws on the plate picture: on the first build the
// texture (image 45) and a white disc of radius 221; always a plate-grey disc of
// radius 220 about the centre, then the grid laid out from that picture
// (layOutPlateGrid with `randomNutrient`), then the legend icons and the colour
// scale along the bottom rows.  On a rebuild the picture outside the disc keeps
// what the first build left there.  The creatures are not touched.  Needs the
// plate picture and the built-in pictures.
void layOutPlate(SimState& state, PlateBuild build, bool randomNutrient);

// "New Vivarix": the plate laid out anew as a rebuild, the creature list emptied,
// kindCount zeroed and no creature followed.
void startNewPlate(SimState& state, bool randomNutrient);

}  // namespace vivarix
