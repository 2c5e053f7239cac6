// A session: the simulation advanced tick by tick with the inputs it takes, and the
// journal of those inputs (journal_text.h), kept in memory and, when asked, written
// to a file line by line as it grows.
//
// Every input of a session goes through takeInput, every tick through
// runSessionTick: then the journal replays the session exactly.  Events (a
// placement, a new plate) are journalled when they take effect; levels (feeding,
// Auto) as they stand when a tick starts, and only when they changed since they were
// last written, so a level changed and changed back between two ticks writes
// nothing, and steady feeding costs one line.  A checkpoint is written after every
// 1,000th tick and when the journal is saved.
//
// The journal ends early, with a message to the state's messages, when it can no
// longer tell the session's story: when there is no memory for its next line, or
// when the simulation had to go without a child or a unit of nutrient for lack of
// memory (SimState::memoryDetours), which no replay repeats.  It then keeps what it
// holds, which still replays the session up to there, and takes no more lines; its
// recording is closed; the session goes on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/file_result.h"
#include "session/input.h"
#include "session/journal_text.h"
#include "sim/sim_state.h"

namespace vivarix {

inline constexpr std::uint64_t journalCheckpointTicks = 1000;

// The messages (titled "Vivarix") of a journal that ends early: no memory for its
// next line, or a memory detour of the simulation.
inline constexpr const char* journalNoMemoryText =
    "The session can no longer be journalled: there is not enough memory for its journal. The journal and its "
    "recording end here and replay the session up to here; the session goes on without them.";
inline constexpr const char* journalDetourText =
    "The session can no longer be journalled: for lack of memory a creature was not born or nutrient was not "
    "dropped, which a replay cannot repeat. The journal and its recording end before that tick and replay the "
    "session up to it; the session goes on without them.";

// The journal as written so far.
struct JournalWriter {
    std::string text;                                  // every line so far
    std::unique_ptr<std::FILE, FileCloser> recording;  // each line written and flushed
    std::string recordingPath;
    // The levels as last written.
    std::optional<AutoInput> writtenAuto;  // none: not written yet
    bool writtenFeeding = false;
    FeedInput writtenFeed;                 // the last feed line's fields
    bool ended = false;                    // ended early: takes no more lines
};

struct Session {
    std::uint64_t seed = 0;
    std::uint64_t ticks = 0;  // ticks run, over all plates
    JournalWriter journal;
    // While a recorded journal is fed to the session, its checkpoints are the
    // recording's, each written by writeCheckpoint where it agreed, and
    // runSessionTick writes none of its own.
    bool recordedCheckpoints = false;
    // The levels in force: what the last input of each kind set.
    AutoInput autoLevel;
    bool feeding = false;
    FeedInput feed;
};

// Starts the session's journal with its head; the session counts from tick 0.  The
// levels in force are those of a fresh simulation (no feeding, Auto at 0), not yet
// written: the first tick writes the Auto level.  Its own checkpoints are on.
void startSession(Session& session, const JournalHead& head);

// Applies `input` (applyInput) and journals it: an event that took effect at once,
// a level by the next tick.  Returns what applyInput returned.  Neither this nor
// runSessionTick throws for lack of memory: the journal ends instead.
PlaceResult takeInput(SimState& state, Session& session, const Input& input);

// One tick of the session: writes the levels that changed, runs the tick (runTick),
// counts it, and writes a checkpoint after every 1,000th (unless
// recordedCheckpoints).
void runSessionTick(SimState& state, Session& session);

// Writes a checkpoint: the creatures hash as they stand, at the session's tick.
void writeCheckpoint(const SimState& state, Session& session);

// From now on every line is also written to `path` and flushed, starting with what
// the journal holds.  A failure (false, with the failing call's error, ENOMEM when
// there is no memory for the path) records nothing.  A recording that fails later
// is closed with a message naming the error to the state's messages; the journal in
// memory goes on.
FileResult startRecording(Session& session, const std::string& path);

// Appends a checkpoint and writes the whole journal to `path`; on failure, the
// failing call's error.  A journal that ended early is written as it ended.
FileResult saveJournal(const SimState& state, Session& session, const std::string& path);

// The name a save suggests for a journal made at local time `when`:
// vivarix-YYYYMMDD-HHMMSS.vxs.
std::string suggestedJournalName(std::int64_t when);

}  // namespace vivarix
