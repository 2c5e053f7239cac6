// The main loop: one pass is one frame; at the first speed (as the program starts)
// it is also one tick, and fast-forward (speed.h) runs more ticks in a pass.
#pragma once

#include "app/app_state.h"
#include "platform/core/desktop.h"

namespace vivarix {

// One pass: present the previous frame, show the inspector picture, read the
// pointer, handle at most one event, set the title, then (unless paused) run the
// ticks of the current speed (each: feed, step the creatures), draw the next frame
// with the repaints of all of them, sample it for the population history and keep
// the frame rate.  Paused, a pass draws nothing, unless N asked for a step: then it
// runs one tick and draws its frame.  A replay that reaches the recording's end
// pauses there.  Either way the population window is refreshed when due.  A file
// dropped on the window is opened (openSession); a right button press ends a
// replay.  Returns false on a close request: the program then ends at
// once, without finishing the pass.
bool runPass(AppState& state, Desktop& desktop);

// Runs passes until the close request.
void mainLoop(AppState& state, Desktop& desktop);

}  // namespace vivarix
