#include "replay.h"

#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/commands.h"
#include "sim/control_numbers.h"
#include "sim/creature_text.h"
#include "sim/feeding.h"
#include "sim/tick.h"

namespace vivarix::lab {

void Replay::prepare(Lab& lab) const {
    Options options;
    options.randomNutrient = journal.randomNutrient;
    prepareLab(lab, options, journal.seed);
}

bool Replay::enterTick(Lab& lab, std::uint64_t tick) {
    AppState& state = lab.state;
    HeadlessControls& controls = lab.controls;
    using Kind = JournalEntry::Kind;
    for (; next < journal.entries.size() && journal.entries[next].tick == tick; ++next) {
        const JournalEntry& e = journal.entries[next];
        switch (e.kind) {
        case Kind::place:
            controls.setControlState(control::magenTrackbar, e.magen);
            controls.setControlState(control::alterTrackbar, e.alter);
            controls.setControlState(control::reifTrackbar, e.reif);
            clickPlacement(state, Placement{tick, e.kind01, e.x, e.y});
            break;
        case Kind::feed:
            feeding = true;
            feedX = e.x;
            feedY = e.y;
            controls.setControlState(control::spreadTrackbar, e.spread);
            controls.setControlState(control::grainsTrackbar, e.grains);
            break;
        case Kind::nofeed:
            feeding = false;
            break;
        case Kind::autoPosition:
            controls.setControlState(control::autoTrackbar, e.position);
            readAutoFeedAmount(state);
            break;
        case Kind::plate:
            controls.setControlState(e.randomNutrient ? control::randomOption : control::emptyOption, 1);
            newPlate(state);
            break;
        case Kind::check: {
            const std::string replayed = creaturesHash(state.creatureList);
            if (replayed != e.hash) {
                mismatch = "tick " + std::to_string(tick) + ": the journal's creatures hash is " + e.hash +
                           ", the replay's " + replayed;
                return false;
            }
            ++verified;
            break;
        }
        }
    }
    state.feedingActive = feeding ? 1 : 0;
    if (feeding) {
        state.mouseX = feedX;
        state.mouseY = feedY;
    }
    return true;
}

int replayMain(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string& path = *options.replay;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        err << "vivarix-lab: " << path << ": cannot be read\n";
        return 2;
    }
    ParsedJournal journal = parseJournal(text.str());
    if (!journal.error.empty()) {
        err << "vivarix-lab: " << path << ":" << journal.errorLine << ": " << journal.error << "\n";
        return 2;
    }
    Replay replay(std::move(journal));
    auto lab = std::make_unique<Lab>();
    lab->warnings = &err;
    replay.prepare(*lab);
    if (!writeGridDump(*lab, options, err)) return 1;

    const std::uint64_t ticks = options.ticksGiven ? options.ticks : replay.lastTick();
    const bool agreed = runPasses(*lab, options, ticks, out, [&](std::uint64_t tick) {
        if (!replay.enterTick(*lab, tick)) return false;
        runTick(lab->state);
        settleWithoutFrame(lab->state);
        return true;
    });
    if (!agreed || !replay.enterTick(*lab, ticks)) {
        out.flush();
        err << "vivarix-lab: replay mismatch at " << replay.mismatch << "\n";
        return 3;
    }
    if (!finishRun(*lab, options, out, err)) return 1;
    err << "replay verified: " << replay.checkpointsVerified() << " checkpoints\n";
    return 0;
}

}  // namespace vivarix::lab
