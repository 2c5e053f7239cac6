#include "app/open_session.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/control_panel.h"
#include "app/plate_preparation.h"
#include "app/replay.h"
#include "platform/core/text.h"
#include "render/plate_view.h"

namespace vivarix {

namespace {

void tell(AppState& state, const std::string& text) {
    (state.messages ? *state.messages : stderrMessageBoxes()).messageBox("Vivarix", text);
}

// Why the file at `path` cannot be opened as a journal, "" when it can; `end` then
// holds the recording's last tick.
std::string refusal(const AppState& state, const std::string& path, std::uint64_t& end) {
    const std::string shown = printableText(path);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return shown + " is a folder, not a session journal.";
    const JournalWriter& journal = state.session.journal;
    if (journal.recording && std::filesystem::equivalent(path, journal.recordingPath, ec))
        return shown + " cannot be opened: this session is being recorded to it.";
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) return shown + " cannot be read" + (errno != 0 ? std::string(": ") + std::strerror(errno) : "") + ".";
    const JournalScan scan = scanJournal(file);
    if (!scan.error.empty())
        return shown + " cannot be opened: line " + std::to_string(scan.errorLine) + ": " + scan.error + ".";
    end = scan.lastTick;
    return {};
}

// The program as start-up leaves it, with the journal's seed and start-up plate;
// paused, and nothing the user chose for the view (speed, statistics, magnifier,
// delay) changed.
void startFromJournal(AppState& state, std::unique_ptr<Replay> replay) {
    const JournalHead head = replay->journal.head();
    resetSimulation(state, state.messages, head.seed);
    state.selectedCreature = nullptr;
    state.topColourCreature = {};
    state.newPlateLatch = 0;
    state.feedingActive = 0;
    state.stepRequested = 0;
    state.paused = 1;
    clearInspectorPicture(state);
    layOutPlate(state, PlateBuild::first, head.randomNutrient);

    Session& session = state.session;
    startSession(session, head);
    session.recordedCheckpoints = true;
    JournalWriter& journal = session.journal;
    if (journal.recording) {
        const std::string path = journal.recordingPath;
        if (!startRecording(session, path)) {
            journal.recording.reset();
            tell(state, "The session can no longer be recorded to " + printableText(path) + ": " +
                            std::strerror(errno) + ". It goes on without recording.");
        }
    }
    startPlateHistory(state.watch);
    writeSeedLabel(state);

    state.replay = std::move(replay);
    if (takeRecordedInputs(state)) renderFrame(state);
}

}  // namespace

bool openSession(AppState& state, const std::string& path) {
    std::uint64_t end = 0;
    if (const std::string why = refusal(state, path, end); !why.empty()) {
        tell(state, why);
        return false;
    }
    auto replay = std::make_unique<Replay>(path, end);
    if (!replay->journal.error().empty()) {  // changed since it was checked
        tell(state, printableText(path) + " cannot be opened: " + replay->journal.error() + ".");
        return false;
    }
    startFromJournal(state, std::move(replay));
    return true;
}

void askAndOpenSession(AppState& state, Desktop& desktop) {
    const std::string path = desktop.askOpenFileName("Open a session");
    if (!path.empty()) openSession(state, path);
}

bool restartReplay(AppState& state) {
    if (!state.replay) return false;
    auto replay = std::make_unique<Replay>(state.replay->path, state.replay->lastTick);
    if (!replay->file.is_open() || !replay->journal.error().empty()) {
        tell(state, printableText(replay->path) + " can no longer be read from its start" +
                        (replay->journal.error().empty() ? std::string() : ": " + replay->journal.error()) + ".");
        return false;
    }
    const std::int32_t paused = state.paused;
    startFromJournal(state, std::move(replay));
    state.paused = paused;
    return true;
}

}  // namespace vivarix
