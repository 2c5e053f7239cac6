// The user's commands on the plate: a left click that places a creature, a middle
// click that chooses the creature to follow, and the new-plate button.
#pragma once

#include "app/app_state.h"
#include "platform/core/desktop.h"
#include "sim/plate_setup.h"

namespace vivarix {

// A left button press.  While paused it does nothing.  Left of the control column
// (mouseX < plateWidth, compared in 16 bits) it places a creature of the placement
// kind by hand, with all the refusals of hand placement.  Returns whether a
// creature was placed, or why not.
PlaceResult placeCreature(AppState& state);

// A middle button press with the pointer on the plate (mouseX < plateWidth,
// compared in 16 bits): the creature nearest the pointer within its reach (3 cells,
// more for a creature drawn larger) becomes the followed one, the first in list
// order among equally near ones; with none there the creatures are no longer
// followed.  Off the plate nothing changes.  Returns whether a creature is followed
// now.
bool followCreatureAtPointer(AppState& state);

// Starts a new plate: plate preparation as a rebuild (the background outside the
// disc stays), the creature list emptied, kindCount and the statistics'
// representatives zeroed, no creature followed, and a new population history.  Every call starts a new plate; newPlateLatch stays 1
// afterwards, so plate preparation knows it is not the first build.
void newPlate(AppState& state);

// Ctrl+S: asks where to save the session's journal, suggesting
// vivarix-YYYYMMDD-HHMMSS.vxs, and saves it there; a file that cannot be written
// is reported in a message box and the session goes on.
void saveSessionAs(AppState& state, Desktop& desktop);

}  // namespace vivarix
