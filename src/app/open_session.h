// Opening a saved session in the window: the program starts again from the
// journal's seed and start-up plate, paused at tick 0, and replays the recording.
#pragma once

#include <string>

#include "app/app_state.h"
#include "platform/core/desktop.h"

namespace vivarix {

// Opens the journal at `path`.  The whole file is checked first: a folder, a file
// that cannot be read, one that is not a journal, of another format version or
// broken at some line (named), and the file this session is being recorded to,
// are each told in a message box, and the session goes on as it was.  Otherwise
// the program starts again as start-up left it, but with the journal's seed (the
// "About" tab shows it) and start-up plate, a new population history and a new
// journal (a recording, --record, starts its file anew), paused at tick 0 with the
// recording's entries of tick 0 taken and the frame drawn.  Returns whether it
// opened.
bool openSession(AppState& state, const std::string& path);

// Ctrl+O: asks which file to open, and opens it.
void askAndOpenSession(AppState& state, Desktop& desktop);

// The opened recording from its start again, as openSession leaves it, its end
// known already; the pause and the speed stay.  A file that can no longer be read
// is told, and the replay goes on where it was.  Returns whether it started again.
bool restartReplay(AppState& state);

}  // namespace vivarix
