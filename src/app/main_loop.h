// The main loop: one pass is one tick is one frame.
#pragma once

#include "app/app_state.h"
#include "platform/core/desktop.h"

namespace vivarix {

// One pass: present the previous frame, show the inspector picture, read the
// pointer, handle at most one event, then (unless paused) feed, step the creatures,
// draw the next frame and keep the frame rate.  Returns false on a close request:
// the program then ends at once, without finishing the pass.
bool runPass(AppState& state, Desktop& desktop);

// Runs passes until the close request.
void mainLoop(AppState& state, Desktop& desktop);

}  // namespace vivarix
