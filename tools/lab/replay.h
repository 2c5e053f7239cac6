// vivarix-lab --replay: a session journal replayed on a lab, strictly.
#pragma once

#include <iosfwd>

#include "lab_options.h"

namespace vivarix::lab {

// Checks the whole journal first (exit 2 naming the file and line when it is
// broken, and a message of its own for a folder or a file that cannot be read),
// then replays it from its seed and start-up plate to its last tick or to --ticks,
// with the CSV and dumps of the options: before every tick the entries of that
// tick in file order, each input through applyInput and each checkpoint compared
// with the creatures.  A refused input or a checkpoint that disagrees ends the
// replay with exit 3, naming the tick (and the line of a refused input); the dumps
// asked for then hold the state there.  Else 0, with "replay verified: N
// checkpoints", or "replay done: no checkpoint to verify" when the journal held
// none, on `err`.  Exit 1 when a dump cannot be written.
int replayMain(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace vivarix::lab
