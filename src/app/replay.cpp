#include "app/replay.h"

#include "app/app_state.h"
#include "app/control_panel.h"
#include "app/user_input.h"
#include "platform/core/text.h"
#include "session/control_table.h"
#include "sim/tick.h"

namespace vivarix {

namespace {

void tell(AppState& state, const std::string& text) {
    (state.messages ? *state.messages : stderrMessageBoxes()).messageBox("Vivarix", text);
}

}  // namespace

Replay::Replay(const std::string& journalPath, std::uint64_t recordingEnd)
    : path(journalPath), file(journalPath, std::ios::binary), journal(file), lastTick(recordingEnd) {}

bool replaying(const AppState& state) { return state.replay != nullptr; }

bool atRecordingEnd(const AppState& state) {
    return state.replay && state.session.ticks >= state.replay->lastTick;
}

bool takeRecordedInputs(AppState& state) {
    if (!state.replay) return false;
    // A placement goes where it would after a drawn frame, however many ticks the
    // pass has run.
    settleCreatureList(state);
    const JournalReplay::Take take = [&state](const Input& input) {
        const PlaceResult result = takeUserInput(state, input);
        if (const auto* level = std::get_if<AutoInput>(&input); level && state.controls) {
            state.controls->setControlState(trackbar::autoFeed.number, level->position);
            writeValueLabels(state);
        }
        return result;
    };
    Replay& replay = *state.replay;
    const std::uint64_t tick = state.session.ticks;
    if (replay.journal.enterTick(tick, state.creatureList, take, [&state] { writeCheckpoint(state, state.session); }))
        return true;
    const std::string file = printableText(replay.path);
    const std::string live = " The session goes on live from tick " + std::to_string(tick) + ".";
    if (!replay.journal.error().empty())
        tell(state, "The replay of " + file + " stopped at line " + std::to_string(replay.journal.errorLine()) + ": " +
                        replay.journal.error() + "." + live);
    else
        tell(state, "The replay of " + file + " parted from its recording at " + replay.journal.mismatch() + "." + live);
    endReplay(state);
    return false;
}

void endReplay(AppState& state) {
    state.replay.reset();
    state.session.recordedCheckpoints = false;
}

}  // namespace vivarix
