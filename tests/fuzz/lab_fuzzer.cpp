// libFuzzer target: vivarix-lab's command-line parsing.
//
// The input is split into arguments at every NUL or newline byte (a separator at
// the very end ends the last argument), then parsed.  Broken contracts of
// lab_options.h abort, which libFuzzer reports as a crash:
// - a rejected command line has a one-line error that starts with one of the
//   arguments (the option it names) followed by ": ";
// - an accepted --replay comes with no option of a run (the journal gives them);
// - an accepted run holds only values in the documented ranges: trackbar positions,
//   kinds 0 or 1, pointer positions inside the window, placements, scatters and
//   feeds before --ticks, scatters of 1..maxScatter creatures, feeds with T0 <= T1
//   that do not overlap, a period of 1 or more.
// An accepted command line with at most `maxRunTicks` passes, `maxRunPlacements`
// placements and `maxRunScattered` scattered creatures is then run, and the plate invariants are checked after every
// pass: that puts arbitrary click and feed positions and trackbar settings through placement, feeding and the creature
// step.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_arguments.h"
#include "lab/invariants.h"
#include "lab_options.h"
#include "lab_run.h"
#include "sim/feeding.h"
#include "session/control_table.h"

namespace {

using namespace vivarix::lab;

constexpr std::uint64_t maxRunTicks = 4;
constexpr std::size_t maxRunPlacements = 16;
constexpr std::int64_t maxRunScattered = 2000;

[[noreturn]] void broken(const std::string& what) {
    std::fprintf(stderr, "lab fuzzer: %s\n", what.c_str());
    std::abort();
}

void check(bool holds, const char* what) {
    if (!holds) broken(what);
}

bool inRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }


// A replay takes its seed, plate and inputs from the journal: only the options of
// the replay synopsis in lab_options.h may come with it.
void checkReplay(const std::vector<std::string>& args, const Options& o) {
    check(!o.replay->empty(), "an empty --replay file name accepted");
    static const std::vector<std::string> replayOptions = {"--replay",    "--ticks",           "--every", "--stats",
                                                           "--dump-grid", "--dump-creatures", "--help",  "-h"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::find(replayOptions.begin(), replayOptions.end(), args[i]) == replayOptions.end())
            broken("accepted with --replay: " + args[i]);
        if (takesValue(args[i])) ++i;
    }
}

void checkAccepted(const Options& o) {
    check(inRange(o.autoPosition, 0, 40), "--auto out of range");
    check(inRange(o.magenPosition, 10, 50), "--magen out of range");
    check(inRange(o.alterPosition, 10, 50), "--alter out of range");
    check(inRange(o.reifPosition, 10, 50), "--reif out of range");
    check(inRange(o.spreadPosition, 2, 12), "--spread out of range");
    check(inRange(o.grainsPosition, 5, 25), "--grains out of range");
    check(!o.every || *o.every >= 1, "--every 0 accepted");
    check(!o.dumpGrid || !o.dumpGrid->empty(), "an empty --dump-grid file name accepted");
    check(!o.dumpCreatures || !o.dumpCreatures->empty(), "an empty --dump-creatures file name accepted");
    check(o.creaturesEvery.has_value() == o.creaturesFile.has_value() && (!o.creaturesEvery || *o.creaturesEvery >= 1) &&
              (!o.creaturesFile || !o.creaturesFile->empty()),
          "--creatures-every without a period of 1 or more and a file name");
    for (const Placement& p : o.placements) {
        check(p.pass < o.ticks, "a placement at or after --ticks");
        check(p.kind == 0 || p.kind == 1, "a placement of kind other than 0 or 1");
        check(inRange(p.x, 0, vivarix::windowSize.width) && inRange(p.y, 0, vivarix::windowSize.height), "a placement outside the window");
    }
    for (const Scatter& s : o.scatters) {
        check(s.pass < o.ticks, "a scatter at or after --ticks");
        check(s.kind == 0 || s.kind == 1, "a scatter of kind other than 0 or 1");
        check(inRange(s.count, 1, maxScatter), "a scatter of a count out of range");
    }
    for (std::size_t i = 0; i < o.feeds.size(); ++i) {
        const Feed& f = o.feeds[i];
        check(f.firstPass <= f.lastPass && f.lastPass < o.ticks, "a feed out of order or at or after --ticks");
        check(inRange(f.x, 0, vivarix::windowSize.width) && inRange(f.y, 0, vivarix::windowSize.height), "a feed outside the window");
        for (std::size_t j = 0; j < i; ++j)
            check(f.firstPass > o.feeds[j].lastPass || o.feeds[j].firstPass > f.lastPass, "overlapping feeds");
    }
}

// Preparing a plate (decoding and resizing the built-in pictures, drawing the plate
// picture, laying out the grid) costs tens of milliseconds, a hundred times what
// one input may.  The passes only read the plate grid, the creature grid and lists
// and the random generator, so a run starts from a fresh state with the plate grid
// of a plate prepared once per process for each nutrient choice.
const vivarix::PlateGrid& preparedGrid(bool randomNutrient) {
    static std::unique_ptr<Lab> prepared[2];
    std::unique_ptr<Lab>& lab = prepared[randomNutrient ? 1 : 0];
    if (!lab) {
        lab = std::make_unique<Lab>();
        prepareLab(*lab, randomNutrient, 1);
    }
    return lab->state.plateGrid;
}

void startLab(Lab& lab, const Options& o, std::uint64_t seed) {
    using namespace vivarix;
    resetSimulation(lab.state, &stderrMessageBoxes(), seed);
    lab.state.plateGrid = preparedGrid(o.randomNutrient);
}

void run(const Options& o) {
    auto lab = std::make_unique<Lab>();
    startLab(*lab, o, o.seed.value_or(1));
    LabInputs inputs(o);
    for (std::uint64_t pass = 0; pass < o.ticks; ++pass) {
        runPass(*lab, inputs, pass);
        const ::testing::AssertionResult invariants = vivarix::testing::plateInvariantsHold(lab->state);
        if (!invariants) broken(std::string("after pass ") + std::to_string(pass) + ": " + invariants.message());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args = vivarix::fuzz::splitArguments(data, size);
    const ParseResult parsed = parseOptions(args);
    if (!parsed.error.empty()) {
        if (!vivarix::fuzz::namesAnOption(parsed.error, args)) broken("the error is not one line naming an argument: " + parsed.error);
        return 0;
    }
    if (parsed.options.replay) {
        // Replaying reads a file: what it does with it is the journal fuzzer's part.
        checkReplay(args, parsed.options);
        return 0;
    }
    checkAccepted(parsed.options);
    std::int64_t scattered = 0;
    for (const Scatter& s : parsed.options.scatters) scattered += s.count;
    if (parsed.options.ticks <= maxRunTicks && parsed.options.placements.size() <= maxRunPlacements &&
        scattered <= maxRunScattered)
        run(parsed.options);
    return 0;
}
