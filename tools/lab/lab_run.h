// vivarix-lab's run: the program's own plate preparation, placement, feeding and
// creature step, without a window, for reproducible experiments.
//
// One pass: (1) the placements of the pass, in command-line order, each a left
// click with the pointer at its position, then its scatters in command-line
// order; (2) the pointer at the active feed's position with the right button
// held, if a feed is active, then the tick (runTick); (3) what a frame leaves
// behind (settleWithoutFrame).  The plate is prepared once before pass 0 as at
// start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "app/app_state.h"
#include "creature_series.h"
#include "sim/creature_text.h"
#include "lab_options.h"
#include "sim/plate_setup.h"

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
    // Where a refused placement or a scatter that gives up is told, one line each
    // naming the pass and the reason; not owned; nullptr: nowhere.
    std::ostream* warnings = nullptr;
    CreatureSeries creatureSeries;  // --creatures-every, written by runPasses
};

// Sets the trackbar positions and the nutrient option of the options.
void setLabControls(HeadlessControls& controls, const Options& options);

// Sets up the controls from the options and prepares the plate as start-up does.
// Failures are reported to `messages` (stderr when none is given).
void prepareLab(Lab& lab, const Options& options, std::uint64_t seed, MessageBoxes* messages = nullptr);

// A left click with the pointer at the placement's position and its kind chosen.
// Returns whether a creature was placed, or why not.
PlaceResult clickPlacement(AppState& state, const Placement& placement);

// Why a placement placed nothing, in words ("" for none).
const char* refusalText(PlaceRefusal refusal);

// Refused cells in a row after which a scatter gives up.
inline constexpr std::int32_t scatterTries = 1000;

// The scatter's creatures, one after the other: x = randomInt(plateWidth), then
// y = randomInt(plateHeight), both from the run's generator, and a left click there
// (clickPlacement, whose placement draws the heading).  A refused cell is simply
// drawn again, so each creature costs two draws per cell tried; after
// scatterTries refused cells in a row (a plate without a free cell) the scatter
// gives up, and a failed allocation, reported as always, ends it.  Returns the
// creatures placed.
std::int32_t scatterCreatures(AppState& state, const Scatter& scatter);

// The right button held with the pointer at the position of the feed active in
// pass `pass`, or released when none is.
void holdFeedOfPass(AppState& state, const Options& options, std::uint64_t pass);

// Runs pass number `pass` (0-based): its placements and scatters in command-line
// order, the feed, the tick and settleWithoutFrame.  Placements that place
// nothing and scatters that give up are told to lab.warnings.
void runPass(Lab& lab, const Options& options, std::uint64_t pass);

// The CSV header and the line after `tick` passes, with the --stats columns when
// options.stats is set.
std::string csvHeader(const Options& options);
std::string csvLine(std::uint64_t tick, const AppState& state, const Options& options);

// Runs `passes` passes of a prepared lab, each by `pass` (which returns false to
// stop the run there), and writes the CSV lines of --every to `out` and the
// creatures of --creatures-every to its file.  Returns whether every pass ran.
bool runPasses(Lab& lab, const Options& options, std::uint64_t passes, std::ostream& out,
               const std::function<bool(std::uint64_t pass)>& pass);

// Writes --dump-grid, if asked for, from the prepared plate; false (told on `err`)
// when the file cannot be written.
bool writeGridDump(const Lab& lab, const Options& options, std::ostream& err);

// The end of a run: flushes `out` and writes --dump-creatures, if asked for; false
// (told on `err`) when that file or the file of --creatures-every cannot be
// written.
bool finishRun(const Lab& lab, const Options& options, std::ostream& out, std::ostream& err);

// The whole program: parses the arguments, checks that every output file can be
// written, prepares, runs, writes CSV to `out` and errors and warnings to `err`.
// Returns the exit status: 0, 1 when a file cannot be written, 2 for a bad command
// line.
int labMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vivarix::lab
