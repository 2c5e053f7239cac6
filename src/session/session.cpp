#include "session/session.h"

#include <cerrno>
#include <ctime>
#include <new>

#include "sim/creature_text.h"
#include "sim/tick.h"

namespace vivarix {

namespace {

void endJournal(JournalWriter& journal, MessageBoxes* messages, const char* why) {
    if (journal.ended) return;
    journal.ended = true;
    journal.recording.reset();
    (messages ? *messages : stderrMessageBoxes()).messageBox("Vivarix", why);
}

// Writes one line (with its "\n") to the recording.  A recording that fails is
// closed; the journal in memory goes on.
void record(JournalWriter& journal, MessageBoxes* messages, const std::string& line) {
    if (!journal.recording) return;
    std::FILE* file = journal.recording.get();
    FileResult written;
    written.attempt([&] { return std::fwrite(line.data(), 1, line.size(), file) == line.size(); });
    written.attempt([&] { return std::fflush(file) == 0; });
    if (written) return;
    journal.recording.reset();
    (messages ? *messages : stderrMessageBoxes())
        .messageBox("Vivarix", "The session can no longer be recorded to " + journal.recordingPath + ": " +
                                   written.reason() + ". It goes on without recording.");
}

// Appends the line that `makeLine` gives (without its "\n") to the journal and to
// the recording.  Without memory for it the journal ends: a line is added whole or
// not at all (one append, which leaves the text as it was when it throws, and
// which grows the text geometrically where an exact reserve would copy it whole
// for every line).
template <class MakeLine>
void writeLine(const SimState& state, JournalWriter& journal, MakeLine&& makeLine) {
    if (journal.ended) return;
    try {
        std::string line = makeLine();
        line += '\n';
        journal.text += line;
        record(journal, state.messages, line);
    } catch (const std::bad_alloc&) {
        endJournal(journal, state.messages, journalNoMemoryText);
    }
}

void writeEntry(const SimState& state, Session& session, const JournalEntry& entry) {
    writeLine(state, session.journal, [&] { return journalLine(entry); });
}

// Ends the journal when what just ran made the simulation go without something
// for lack of memory.
void noteDetours(const SimState& state, Session& session, std::uint64_t detoursBefore) {
    if (state.memoryDetours != detoursBefore) endJournal(session.journal, state.messages, journalDetourText);
}

// Writes the levels in force that differ from those last written.
void writeLevels(const SimState& state, Session& session) {
    JournalWriter& j = session.journal;
    if (j.writtenAuto != session.autoLevel) {
        j.writtenAuto = session.autoLevel;
        writeEntry(state, session, {session.ticks, Input(session.autoLevel)});
    }
    if (session.feeding && (!j.writtenFeeding || j.writtenFeed != session.feed)) {
        writeEntry(state, session, {session.ticks, Input(session.feed)});
        j.writtenFeed = session.feed;
    } else if (!session.feeding && j.writtenFeeding) {
        writeEntry(state, session, {session.ticks, Input(NoFeedInput{})});
    }
    j.writtenFeeding = session.feeding;
}

// Notes a level input as the one in force.
struct NoteLevel {
    Session& session;
    void operator()(const FeedInput& f) const {
        session.feeding = true;
        session.feed = f;
    }
    void operator()(const NoFeedInput&) const { session.feeding = false; }
    void operator()(const AutoInput& a) const { session.autoLevel = a; }
    void operator()(const PlaceInput&) const {}
    void operator()(const PlateInput&) const {}
};

}  // namespace

void writeCheckpoint(const SimState& state, Session& session) {
    // The hash is text too: made where running out of memory ends the journal.
    writeLine(state, session.journal,
              [&] { return journalLine({session.ticks, Checkpoint{creaturesHash(state.creatureList)}}); });
}

void startSession(Session& session, const JournalHead& head) {
    session.seed = head.seed;
    session.ticks = 0;
    JournalWriter& j = session.journal;
    j.text = journalHeadText(head);
    j.writtenAuto.reset();
    j.writtenFeeding = false;
    j.ended = false;
    session.feeding = false;
    session.autoLevel = {};
    session.recordedCheckpoints = false;
}

PlaceResult takeInput(SimState& state, Session& session, const Input& input) {
    const std::uint64_t detours = state.memoryDetours;
    const PlaceResult result = applyInput(state, input);
    noteDetours(state, session, detours);
    if (!result) return result;
    if (isLevel(input))
        std::visit(NoteLevel{session}, input);
    else
        writeEntry(state, session, {session.ticks, input});
    return result;
}

void runSessionTick(SimState& state, Session& session) {
    writeLevels(state, session);
    const std::uint64_t detours = state.memoryDetours;
    runTick(state);
    ++session.ticks;
    noteDetours(state, session, detours);
    if (!session.recordedCheckpoints && session.ticks % journalCheckpointTicks == 0) writeCheckpoint(state, session);
}

FileResult startRecording(Session& session, const std::string& path) {
    JournalWriter& j = session.journal;
    std::string recordingPath;
    try {
        recordingPath = path;
    } catch (const std::bad_alloc&) {
        return FileResult{ENOMEM};
    }
    std::unique_ptr<std::FILE, FileCloser> file;
    FileResult result;
    result.attempt([&] {
        file.reset(std::fopen(path.c_str(), "wb"));
        return file != nullptr;
    });
    result.attempt([&] { return std::fwrite(j.text.data(), 1, j.text.size(), file.get()) == j.text.size(); });
    result.attempt([&] { return std::fflush(file.get()) == 0; });
    if (!result) return result;
    j.recording = std::move(file);
    j.recordingPath = std::move(recordingPath);
    return result;
}

FileResult saveJournal(const SimState& state, Session& session, const std::string& path) {
    if (!session.journal.ended) writeCheckpoint(state, session);
    return writeWholeFile(path, session.journal.text);
}

std::string suggestedJournalName(std::int64_t when) {
    const std::time_t time = static_cast<std::time_t>(when);
    std::tm local{};
    localtime_r(&time, &local);
    char name[40];
    std::strftime(name, sizeof name, "vivarix-%Y%m%d-%H%M%S.vxs", &local);
    return name;
}

}  // namespace vivarix
