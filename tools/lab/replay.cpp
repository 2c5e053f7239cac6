#include "replay.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>

#include "lab_run.h"
#include "platform/core/text.h"
#include "session/journal_replay.h"
#include "sim/tick.h"

namespace vivarix::lab {

namespace {

// Opens the journal for reading, or tells why it cannot be read.
bool openJournal(std::ifstream& file, const std::string& path, std::ostream& err) {
    const std::string shown = printableText(path);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        err << "vivarix-lab: " << shown << ": is a folder, not a session journal\n";
        return false;
    }
    errno = 0;
    file.open(path, std::ios::binary);
    if (file) return true;
    err << "vivarix-lab: " << shown << ": cannot be read" << (errno != 0 ? std::string(": ") + std::strerror(errno) : "")
        << "\n";
    return false;
}

void brokenJournal(const std::string& path, std::size_t line, const std::string& error, std::ostream& err) {
    err << "vivarix-lab: " << printableText(path) << ":" << line << ": " << error << "\n";
}

}  // namespace

int replayMain(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string& path = *options.replay;
    std::ifstream scanned;
    if (!openJournal(scanned, path, err)) return 2;
    const JournalScan scan = scanJournal(scanned);
    if (!scan.error.empty()) {
        brokenJournal(path, scan.errorLine, scan.error, err);
        return 2;
    }

    std::ifstream file;
    if (!openJournal(file, path, err)) return 2;
    JournalReplay replay(file);
    auto lab = std::make_unique<Lab>();
    lab->warnings = &err;
    prepareLab(*lab, replay.head().randomNutrient, replay.head().seed);
    if (!writeGridDump(*lab, options, err)) return 1;

    SimState& state = lab->state;
    const JournalReplay::Take take = [&](const Input& input) { return applyInput(state, input); };
    const std::uint64_t ticks = options.ticksGiven ? options.ticks : scan.lastTick;
    std::uint64_t reached = ticks;
    const bool agreed = runPasses(*lab, options, ticks, out, [&](std::uint64_t tick) {
        if (!replay.enterTick(tick, state.creatureList, take)) {
            reached = tick;
            return false;
        }
        runTick(state);
        settleWithoutFrame(state);
        return true;
    });
    if (!agreed || !replay.enterTick(ticks, state.creatureList, take)) {
        out.flush();
        if (!replay.error().empty()) {  // the file changed while it was replayed
            brokenJournal(path, replay.errorLine(), replay.error(), err);
            return 2;
        }
        err << "vivarix-lab: replay mismatch at " << replay.mismatch() << "\n";
        if (!options.dumpGrid && !options.dumpCreatures) return 3;
        if (!writeGridDump(*lab, options, err) || !finishRun(*lab, options, out, err)) return 1;
        err << "vivarix-lab: the dumps hold the state at tick " << reached << ", where the replay stopped\n";
        return 3;
    }
    if (!finishRun(*lab, options, out, err)) return 1;
    if (replay.checkpointsVerified() == 0)
        err << "replay done: no checkpoint to verify\n";
    else
        err << "replay verified: " << replay.checkpointsVerified() << " checkpoints\n";
    return 0;
}

}  // namespace vivarix::lab
