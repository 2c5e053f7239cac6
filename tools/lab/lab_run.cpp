#include "lab_run.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

#include "lab_stats.h"
#include "platform/core/version.h"
#include "replay.h"
#include "session/plate.h"
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

void prepareLab(Lab& lab, bool randomNutrient, std::uint64_t seed, MessageBoxes* messages) {
    SimState& state = lab.state;
    resetSimulation(state, messages ? messages : &stderrMessageBoxes(), seed);
    createPlatePicture(state);
    decodeBuiltinPictures(state);
    layOutPlate(state, PlateBuild::first, randomNutrient);
}

PlaceInput placeInput(const Options& options, std::int32_t kind, std::int32_t x, std::int32_t y) {
    return PlaceInput{x, y, kind, options.magenPosition, options.alterPosition, options.reifPosition};
}

std::vector<LabInput> labInputs(const Options& options) {
    std::vector<LabInput> inputs;
    for (const Placement& p : options.placements)
        inputs.push_back({p.pass, Input(placeInput(options, p.kind, p.x, p.y))});
    for (const Scatter& s : options.scatters) inputs.push_back({s.pass, s});
    inputs.push_back({0, Input(AutoInput{options.autoPosition})});
    std::vector<Feed> feeds = options.feeds;
    std::sort(feeds.begin(), feeds.end(), [](const Feed& a, const Feed& b) { return a.firstPass < b.firstPass; });
    for (std::size_t i = 0; i < feeds.size(); ++i) {
        const Feed& f = feeds[i];
        inputs.push_back(
            {f.firstPass, Input(FeedInput{f.x, f.y, options.spreadPosition, options.grainsPosition})});
        const bool nextFollowsAtOnce = i + 1 < feeds.size() && feeds[i + 1].firstPass == f.lastPass + 1;
        if (!nextFollowsAtOnce && f.lastPass + 1 < options.ticks) inputs.push_back({f.lastPass + 1, Input(NoFeedInput{})});
    }
    std::stable_sort(inputs.begin(), inputs.end(),
                     [](const LabInput& a, const LabInput& b) { return a.pass < b.pass; });
    return inputs;
}

std::int32_t scatterCreatures(SimState& state, const Options& options, const Scatter& scatter) {
    std::int32_t placed = 0;
    for (std::int32_t refusedInARow = 0; placed < scatter.count && refusedInARow < scatterTries;) {
        const std::int32_t x = randomInt(state.random, state.plateWidth);
        const std::int32_t y = randomInt(state.random, state.plateHeight);
        const PlaceResult result = applyInput(state, placeInput(options, scatter.kind, x, y));
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

void takePassInputs(Lab& lab, LabInputs& inputs, std::uint64_t pass,
                    const std::function<void(const LabInput&)>& taken) {
    for (; inputs.next < inputs.items.size() && inputs.items[inputs.next].pass == pass; ++inputs.next) {
        const LabInput& item = inputs.items[inputs.next];
        if (const auto* scatter = std::get_if<Scatter>(&item.what)) {
            const std::int32_t placed = scatterCreatures(lab.state, inputs.options, *scatter);
            if (placed < scatter->count && lab.warnings)
                *lab.warnings << "vivarix-lab: pass " << pass << ": --scatter " << scatter->pass << ':'
                              << scatter->kind << ':' << scatter->count << " placed " << placed
                              << " creatures: no free plate cell, or no memory\n";
        } else {
            const Input& input = std::get<Input>(item.what);
            const PlaceResult result = applyInput(lab.state, input);
            if (!result && lab.warnings) {
                const PlaceInput& p = std::get<PlaceInput>(input);
                *lab.warnings << "vivarix-lab: pass " << pass << ": --place " << pass << ':' << p.kind << ':' << p.x
                              << ':' << p.y << " placed nothing: " << placeRefusalText(result.refusal) << "\n";
            }
        }
        if (taken) taken(item);
    }
}

void runPass(Lab& lab, LabInputs& inputs, std::uint64_t pass) {
    takePassInputs(lab, inputs, pass);
    runTick(lab.state);
    settleWithoutFrame(lab.state);
}

std::string csvHeader(const Options& options) {
    return "tick,kind0,kind1,nutrient,creatures_hash" + (options.stats ? statsHeader() : std::string()) + "\n";
}

std::string csvLine(std::uint64_t tick, const SimState& state, const Options& options) {
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
    prepareLab(*lab, options.randomNutrient, seed);
    if (!writeGridDump(*lab, options, err)) return 1;

    LabInputs inputs(options);
    runPasses(*lab, options, options.ticks, out, [&](std::uint64_t pass) {
        runPass(*lab, inputs, pass);
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
