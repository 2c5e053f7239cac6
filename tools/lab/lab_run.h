// vivarix-lab's run: the program's own plate preparation, inputs and tick, without
// a window, for reproducible experiments.
//
// The options are an input stream (labInputs): --place and --feed are inputs at
// their passes, --auto an input before pass 0, and --scatter makes placement inputs
// on cells it draws when its pass comes.  One pass: (1) its inputs, taken by
// applyInput in the order labInputs gives; (2) the tick (runTick); (3) what a
// frame leaves behind (settleWithoutFrame).  The plate is prepared once before
// pass 0 as at start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

#include "creature_series.h"
#include "lab_options.h"
#include "session/input.h"
#include "sim/creature_text.h"
#include "sim/plate_grid.h"
#include "sim/sim_state.h"

namespace vivarix::lab {

// --dump-creatures writes creaturesText; the CSV's hash is creaturesHash.
using vivarix::creaturesText;
using vivarix::fnv1a64;

using vivarix::nutrientTotal;

// 461 lines, line x holding cells (x, 0) .. (x, plateHeight) in decimal.
std::string gridText(const SimState& state);

// A prepared experiment: the simulation of one run.
struct Lab {
    SimState state;
    // Where a refused placement or a scatter that gives up is told, one line each
    // naming the pass and the reason; not owned; nullptr: nowhere.
    std::ostream* warnings = nullptr;
    CreatureSeries creatureSeries;  // --creatures-every, written by runPasses
};

// A simulation as the program's start-up leaves it, seeded with `seed`: the plate
// picture and the built-in pictures, and the plate laid out as a first build.
// Failures are reported to `messages` (stderr when none is given).
void prepareLab(Lab& lab, bool randomNutrient, std::uint64_t seed, MessageBoxes* messages = nullptr);

// One item of a run's input stream, taken before the tick of its pass.
struct LabInput {
    std::uint64_t pass = 0;
    std::variant<Input, Scatter> what;
};

// The options as an input stream, ordered by pass; within a pass the --place
// inputs in command-line order, then the scatters in command-line order, then
// the feeding and Auto levels.  Placements take the --magen, --alter and --reif
// positions, feeds the --spread and --grains ones.
std::vector<LabInput> labInputs(const Options& options);

// The placement input of a --place or of one creature of a scatter at (x, y).
PlaceInput placeInput(const Options& options, std::int32_t kind, std::int32_t x, std::int32_t y);

// Refused cells in a row after which a scatter gives up.
inline constexpr std::int32_t scatterTries = 1000;

// The scatter's creatures, one after the other: x = randomInt(plateWidth), then
// y = randomInt(plateHeight), both from the run's generator, and a placement input
// there (whose placement draws the heading).  A refused cell is simply drawn
// again, so each creature costs two draws per cell tried; after scatterTries
// refused cells in a row (a plate without a free cell) the scatter gives up, and
// a failed allocation, reported as always, ends it.  Returns the creatures placed.
std::int32_t scatterCreatures(SimState& state, const Options& options, const Scatter& scatter);

// The options' input stream, and how far a run has taken it.
struct LabInputs {
    explicit LabInputs(const Options& given) : options(given), items(labInputs(given)) {}
    const Options& options;  // not owned
    std::vector<LabInput> items;
    std::size_t next = 0;    // the first item not taken yet
};

// Takes the items of pass `pass` (the next ones, when they belong to it), each
// through applyInput.  Placements that place nothing and scatters that give up are
// told to lab.warnings.  `taken`, when given, is called after each.  Call for the
// passes 0, 1, 2, ... in turn.
void takePassInputs(Lab& lab, LabInputs& inputs, std::uint64_t pass,
                    const std::function<void(const LabInput&)>& taken = {});

// Runs pass number `pass`: its inputs (takePassInputs), the tick (runTick) and
// settleWithoutFrame.  Call for the passes 0, 1, 2, ... in turn.
void runPass(Lab& lab, LabInputs& inputs, std::uint64_t pass);

// The CSV header and the line after `tick` passes, with the --stats columns when
// options.stats is set.
std::string csvHeader(const Options& options);
std::string csvLine(std::uint64_t tick, const SimState& state, const Options& options);

// Runs `passes` passes of a prepared lab, each by `pass` (which returns false to
// stop the run there), and writes the CSV lines of --every to `out` and the
// creatures of --creatures-every to its file.  Returns whether every pass ran.
bool runPasses(Lab& lab, const Options& options, std::uint64_t passes, std::ostream& out,
               const std::function<bool(std::uint64_t pass)>& pass);

// Writes --dump-grid, if asked for, from the lab's plate; false (told on `err`)
// when the file cannot be written.
bool writeGridDump(const Lab& lab, const Options& options, std::ostream& err);

// The end of a run: flushes `out` and writes --dump-creatures, if asked for; false
// (told on `err`) when that file or the file of --creatures-every cannot be
// written.
bool finishRun(const Lab& lab, const Options& options, std::ostream& out, std::ostream& err);

// The whole program: parses the arguments, checks that every output file can be
// written, prepares, runs, writes CSV to `out` and errors and warnings to `err`.
// Returns the exit status: 0, 1 when a file cannot be written, 2 for a bad command
// line, 3 when a replay parts from its journal.
int labMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vivarix::lab
