// The user's commands on the plate: a left click that places a creature, a middle
// click that chooses the creature to follow, and the new-plate button.
#pragma once

#include "app/app_state.h"
#include "platform/core/desktop.h"
#include "sim/plate_setup.h"

namespace vivarix {

// A left button press at (x, y), where the press happened.  While paused it does
// nothing.  Otherwise the placement input of a creature of the placement kind, with
// the positions of the "max.Magen", "max.Alter" and "Geschlechtsreif" trackbars, is
// taken (takeUserInput): refused right of the plate (x >= plateWidth, compared in
// 16 bits) and by hand placement's own rules.  A placement that took effect
// during a replay ends it: the user takes over (endReplay).  Returns whether a
// creature was placed, or why not.
PlaceResult placeCreature(AppState& state, std::int32_t x, std::int32_t y);

// A middle button press at (x, y) on the plate (x < plateWidth, compared in 16
// bits): the creature nearest (x, y) within its reach (3 cells, more for a creature
// drawn larger) becomes the followed one, the first in list order among equally
// near ones; with none there the creatures are no longer followed.  Off the plate
// nothing changes.  Returns whether a creature is followed now.
bool followCreatureAt(AppState& state, std::int32_t x, std::int32_t y);

// "New Vivarix": the new-plate input with the nutrient option the panel shows,
// taken (takeUserInput): the plate laid out as a rebuild (the background outside
// the disc stays), its creatures gone, nothing followed, and a new population
// history.  Every call starts a new plate.
void newPlate(AppState& state);

// Ctrl+S: asks where to save the session's journal, suggesting
// vivarix-YYYYMMDD-HHMMSS.vxs, and saves it there; a file that cannot be written
// is reported in a message box and the session goes on.
void saveSessionAs(AppState& state, Desktop& desktop);

}  // namespace vivarix
