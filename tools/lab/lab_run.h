// vivarix-lab's run: the program's own plate preparation, placement, feeding and
// creature step, without a window, for reproducible experiments.
//
// One pass: (1) the placements of the pass, in command-line order, each a left
// click with the pointer at its position; (2) the pointer at the active feed's
// position with the right button held, if a feed is active, then the tick
// (runTick); (3) what a frame leaves behind (settleWithoutFrame).  The plate is prepared once before pass 0 as at start-up.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "app/app_state.h"
#include "sim/creature_text.h"
#include "lab_options.h"

namespace vivarix::lab {

// --dump-creatures writes creaturesText; the CSV's hash is creaturesHash.
using vivarix::creaturesText;
using vivarix::fnv1a64;

using vivarix::nutrientTotal;

// 461 lines, line x holding cells (x, 0) .. (x, plateHeight) in decimal.
std::string gridText(const SimState& state);

// A prepared experiment: state, controls and messages for one run.
struct Lab {
    HeadlessControls controls;
    AppState state;
};

// Sets the trackbar positions and the nutrient option of the options.
void setLabControls(HeadlessControls& controls, const Options& options);

// Sets up the controls from the options and prepares the plate as start-up does.
// Failures are reported to `messages` (stderr when none is given).
void prepareLab(Lab& lab, const Options& options, std::uint64_t seed, MessageBoxes* messages = nullptr);

// A left click with the pointer at the placement's position and its kind chosen.
void clickPlacement(AppState& state, const Placement& placement);

// The right button held with the pointer at the position of the feed active in
// pass `pass`, or released when none is.
void holdFeedOfPass(AppState& state, const Options& options, std::uint64_t pass);

// Runs pass number `pass` (0-based): its placements in command-line order, the
// feed, the tick and settleWithoutFrame.
void runPass(Lab& lab, const Options& options, std::uint64_t pass);

// The whole program: parses the arguments, runs, writes CSV to `out` and errors to
// `err`.  Returns the exit status: 0, 1 when a file cannot be written, 2 for a bad
// command line.
int labMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vivarix::lab
