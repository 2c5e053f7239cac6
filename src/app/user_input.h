// Where the user's actions become inputs (session/input.h): the one place the
// desktop program hands inputs to the simulation, each applied and journalled
// together by the session.
#pragma once

#include "app/app_state.h"

namespace vivarix {

// Takes an input through the session (applied, and journalled when it took
// effect), and for a new plate does what the program adds to it: the inspector
// picture cleared, the statistics' representatives forgotten, a new population
// history, and newPlateLatch set to 1 (plate preparation then knows the plate is
// not the first).  Returns whether it took effect, or why not.
PlaceResult takeUserInput(AppState& state, const Input& input);

// The "Auto" level as its trackbar stands now.
void takeAutoPosition(AppState& state);

// One tick of the session: first the right button's feeding as it stands (the
// pointer (mouseX, mouseY), feedingActive and the "M. Size" and "M. NpF"
// trackbars), taken when it differs from the feeding in force; then the tick
// (runSessionTick).
void runJournalledTick(AppState& state);

}  // namespace vivarix
