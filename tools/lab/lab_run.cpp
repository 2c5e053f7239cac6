#include "lab_run.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

#include "app/commands.h"
#include "app/pictures.h"
#include "app/plate_preparation.h"
#include "lab_stats.h"
#include "platform/core/version.h"
#include "replay.h"
#include "sim/control_numbers.h"
#include "sim/feeding.h"
#include "sim/tick.h"

namespace vivarix::lab {

std::string gridText(const SimState& state) {
    std::string text;
    for (std::int32_t x = 0; x <= state.plateWidth; ++x) {
        for (std::int32_t y = 0; y <= state.plateHeight; ++y) {
            if (y > 0) text.push_back(' ');
            text += std::to_string(cellAt(state.plateGrid, x, y));
        }
        text.push_back('\n');
    }
    return text;
}

void setLabControls(HeadlessControls& controls, const Options& options) {
    controls.setControlState(control::autoTrackbar, options.autoPosition);
    controls.setControlState(control::magenTrackbar, options.magenPosition);
    controls.setControlState(control::alterTrackbar, options.alterPosition);
    controls.setControlState(control::reifTrackbar, options.reifPosition);
    controls.setControlState(control::spreadTrackbar, options.spreadPosition);
    controls.setControlState(control::grainsTrackbar, options.grainsPosition);
    controls.groupOptions(control::nutrientOptions);
    controls.setControlState(options.randomNutrient ? control::randomOption : control::emptyOption, 1);
}

void prepareLab(Lab& lab, const Options& options, std::uint64_t seed, MessageBoxes* messages) {
    HeadlessControls& controls = lab.controls;
    setLabControls(controls, options);
    AppState& state = lab.state;
    initialiseState(state, &controls, messages ? messages : &stderrMessageBoxes(), seed);
    createWorkPictures(state);
    decodeBuiltinPictures(state);
    preparePlate(state);
    readAutoFeedAmount(state);
}

PlaceResult clickPlacement(AppState& state, const Placement& p) {
    state.mouseX = p.x;
    state.mouseY = p.y;
    state.placementKind = p.kind == 0 ? placeKind0 : placeKind1;
    return placeCreature(state);
}

const char* refusalText(PlaceRefusal refusal) {
    switch (refusal) {
    case PlaceRefusal::none: return "";
    case PlaceRefusal::offPlate: return "the cell is off the plate";
    case PlaceRefusal::occupied: return "a creature ended its move on that cell in the last pass";
    case PlaceRefusal::noMemory: return "no memory for another creature";
    case PlaceRefusal::paused: return "the run is paused";
    case PlaceRefusal::controlColumn: return "the pointer is over the control column, right of the plate";
    }
    return "";
}

std::int32_t scatterCreatures(AppState& state, const Scatter& scatter) {
    std::int32_t placed = 0;
    for (std::int32_t refusedInARow = 0; placed < scatter.count && refusedInARow < scatterTries;) {
        const std::int32_t x = randomInt(state.random, state.plateWidth);
        const std::int32_t y = randomInt(state.random, state.plateHeight);
        const PlaceResult result = clickPlacement(state, {scatter.pass, scatter.kind, x, y});
        if (result.refusal == PlaceRefusal::noMemory) break;
        if (result) {
            placed += 1;
            refusedInARow = 0;
        } else {
            refusedInARow += 1;
        }
    }
    return placed;
}

void holdFeedOfPass(AppState& state, const Options& options, std::uint64_t pass) {
    state.feedingActive = 0;
    for (const Feed& f : options.feeds) {
        if (pass < f.firstPass || pass > f.lastPass) continue;
        state.mouseX = f.x;
        state.mouseY = f.y;
        state.feedingActive = 1;
    }
}

void runPass(Lab& lab, const Options& options, std::uint64_t pass) {
    AppState& state = lab.state;
    for (const Placement& p : options.placements) {
        if (p.pass != pass) continue;
        const PlaceResult result = clickPlacement(state, p);
        if (!result && lab.warnings)
            *lab.warnings << "vivarix-lab: pass " << pass << ": --place " << p.pass << ':' << p.kind << ':' << p.x
                          << ':' << p.y << " placed nothing: " << refusalText(result.refusal) << "\n";
    }
    for (const Scatter& s : options.scatters) {
        if (s.pass != pass) continue;
        const std::int32_t placed = scatterCreatures(state, s);
        if (placed < s.count && lab.warnings)
            *lab.warnings << "vivarix-lab: pass " << pass << ": --scatter " << s.pass << ':' << s.kind << ':' << s.count
                          << " placed " << placed << " creatures: no free plate cell, or no memory\n";
    }
    holdFeedOfPass(state, options, pass);
    runTick(state);
    settleWithoutFrame(state);
}

std::string csvHeader(const Options& options) {
    return "tick,kind0,kind1,nutrient,creatures_hash" + (options.stats ? statsHeader() : std::string()) + "\n";
}

std::string csvLine(std::uint64_t tick, const AppState& state, const Options& options) {
    std::string line = std::to_string(tick) + ',' + std::to_string(state.kindCount[0]) + ',' +
                       std::to_string(state.kindCount[1]) + ',' + std::to_string(nutrientTotal(state.plateGrid)) + ',' +
                       creaturesHash(state.creatureList);
    if (options.stats) line += statsColumns(kindStats(state.creatureList));
    return line + '\n';
}

bool runPasses(Lab& lab, const Options& options, std::uint64_t passes, std::ostream& out,
               const std::function<bool(std::uint64_t pass)>& pass) {
    if (options.every) out << csvHeader(options);
    lab.creatureSeries.start(options);
    if (passes == 0) lab.creatureSeries.after(0, 0, lab.state.creatureList);
    bool printed = false;
    for (std::uint64_t p = 0; p < passes; ++p) {
        if (!pass(p)) return false;
        printed = false;
        if (options.every && (p + 1) % *options.every == 0) {
            out << csvLine(p + 1, lab.state, options);
            printed = true;
        }
        lab.creatureSeries.after(p + 1, passes, lab.state.creatureList);
    }
    if (options.every && !printed) out << csvLine(passes, lab.state, options);
    return true;
}

namespace {

void cannotWrite(const std::string& path, std::ostream& err) { err << "vivarix-lab: cannot write " << path << "\n"; }

bool writeFile(const std::string& path, const std::string& text, std::ostream& err) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        cannotWrite(path, err);
        return false;
    }
    return true;
}

// Whether every output file can be created, before anything runs: each is opened
// for appending, which creates a missing file and leaves an existing one as it is
// until the run writes it.
bool outputsWritable(const Options& options, std::ostream& err) {
    for (const auto& path : {options.dumpGrid, options.dumpCreatures, options.creaturesFile}) {
        if (!path) continue;
        std::ofstream probe(*path, std::ios::binary | std::ios::app);
        if (!probe) {
            cannotWrite(*path, err);
            return false;
        }
    }
    return true;
}

}  // namespace

int labMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const ParseResult parsed = parseOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!parsed.error.empty()) {
        err << "vivarix-lab: " << parsed.error << "\n";
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        out << usageText();
        return 0;
    }
    if (options.version) {
        out << versionLine("vivarix-lab");
        return 0;
    }
    if (!outputsWritable(options, err)) return 1;
    if (options.replay) return replayMain(options, out, err);
    const std::uint64_t seed =
        options.seed ? *options.seed
                     : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    if (!options.seed) err << "vivarix-lab: seed " << seed << "\n";

    auto lab = std::make_unique<Lab>();
    lab->warnings = &err;
    prepareLab(*lab, options, seed);
    if (!writeGridDump(*lab, options, err)) return 1;

    runPasses(*lab, options, options.ticks, out, [&](std::uint64_t pass) {
        runPass(*lab, options, pass);
        return true;
    });
    return finishRun(*lab, options, out, err) ? 0 : 1;
}

bool writeGridDump(const Lab& lab, const Options& options, std::ostream& err) {
    return !options.dumpGrid || writeFile(*options.dumpGrid, gridText(lab.state), err);
}

bool finishRun(const Lab& lab, const Options& options, std::ostream& out, std::ostream& err) {
    out.flush();
    if (const std::string& failed = lab.creatureSeries.failedFile(); !failed.empty()) {
        cannotWrite(failed, err);
        return false;
    }
    return !options.dumpCreatures || writeFile(*options.dumpCreatures, creaturesText(lab.state.creatureList), err);
}

}  // namespace vivarix::lab
