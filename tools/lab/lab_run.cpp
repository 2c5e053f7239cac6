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

void clickPlacement(AppState& state, const Placement& p) {
    state.mouseX = p.x;
    state.mouseY = p.y;
    state.placementKind = p.kind == 0 ? placeKind0 : placeKind1;
    placeCreature(state);
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
    for (const Placement& p : options.placements)
        if (p.pass == pass) clickPlacement(state, p);
    holdFeedOfPass(state, options, pass);
    runTick(state);
    settleWithoutFrame(state);
}

namespace {

bool writeFile(const std::string& path, const std::string& text, std::ostream& err) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        err << "vivarix-lab: cannot write " << path << "\n";
        return false;
    }
    return true;
}

void csvLine(std::ostream& out, std::uint64_t tick, const AppState& state) {
    out << tick << ',' << state.kindCount[0] << ',' << state.kindCount[1] << ',' << nutrientTotal(state.plateGrid)
        << ',' << creaturesHash(state.creatureList) << '\n';
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
    const std::uint64_t seed =
        options.seed ? *options.seed
                     : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    if (!options.seed) err << "vivarix-lab: seed " << seed << "\n";

    auto lab = std::make_unique<Lab>();
    prepareLab(*lab, options, seed);
    if (options.dumpGrid && !writeFile(*options.dumpGrid, gridText(lab->state), err)) return 1;

    if (options.every) out << "tick,kind0,kind1,nutrient,creatures_hash\n";
    bool printed = false;
    for (std::uint64_t pass = 0; pass < options.ticks; ++pass) {
        runPass(*lab, options, pass);
        printed = false;
        if (options.every && (pass + 1) % *options.every == 0) {
            csvLine(out, pass + 1, lab->state);
            printed = true;
        }
    }
    if (options.every && !printed) csvLine(out, options.ticks, lab->state);

    if (options.dumpCreatures && !writeFile(*options.dumpCreatures, creaturesText(lab->state.creatureList), err))
        return 1;
    out.flush();
    return 0;
}

}  // namespace vivarix::lab
