// The session journal: the seed and every input that reaches the simulation, with
// the tick at which it took effect, so that vivarix-lab can replay a session tick
// for tick.
//
// The format, version 1, is plain text, one entry a line, each line ended by "\n":
//
//   vivarix-session 1          the first line: the format and its version
//   seed N                     the session's seed (unsigned 64-bit, decimal)
//   start random|empty         the nutrient option the start-up plate was laid with
//   place T X Y K M A R        a left click placed a creature: pointer (X, Y), kind K
//                              (0, 1), the "max.Magen", "max.Alter" and
//                              "Geschlechtsreif" trackbar positions M, A, R
//   feed T X Y S G             from tick T on the right button feeds at (X, Y) with
//                              the "M. Size" and "M. NpF" positions S and G
//   nofeed T                   from tick T on the right button does not feed
//   auto T P                   from tick T on automatic feeding drops what the "Auto"
//                              trackbar at P gives (P * 8 units a tick)
//   plate T random|empty       "New Vivarix" with that nutrient option
//   check T HASH               after the lines before it, the creatures hash
//                              (16 hex digits, as vivarix-lab prints it)
//
// T counts the ticks the session has run before the entry took effect (ticks of
// all plates, from 0); the entries of one tick come in the order they happened,
// and T never decreases down the file.  Feeding is written as it changes, so a
// steady feed costs one line.  A checkpoint is written after every 1,000th tick
// and when the journal is saved.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/save_file.h"

namespace vivarix {

struct AppState;

inline constexpr std::string_view journalHeader = "vivarix-session 1";
inline constexpr std::uint64_t journalCheckpointTicks = 1000;

// What the program has journalled so far, and the last feeding and Auto position it
// wrote, so that it writes only changes.
struct Journal {
    std::string text;                                  // every line so far
    std::unique_ptr<std::FILE, FileCloser> recording;  // --record: each line written and flushed
    std::string recordingPath;
    bool feeding = false;
    std::int32_t feedX = 0, feedY = 0, feedSpread = 0, feedGrains = 0;
    std::int32_t autoPosition = -1;  // -1: not written yet
};

// --- writing (the desktop program) ---------------------------------------------

// Starts the journal of a session whose plate start-up has just prepared: header,
// seed and start lines.
void journalStart(AppState& state);

// A creature was placed by a left click at the pointer.
void journalPlacement(AppState& state);

// "New Vivarix" has just laid a new plate.
void journalNewPlate(AppState& state);

// One tick of the session: writes the changes of feeding and of the Auto trackbar,
// runs the tick (runTick), counts it, and writes a checkpoint after every 1,000th.
void runJournalledTick(AppState& state);

// From now on every line is also written to `path` and flushed, starting with
// what the journal holds.  Returns false, recording nothing, when the file cannot
// be written.
bool startRecording(AppState& state, const std::string& path);

// Appends a checkpoint and writes the whole journal to `path`.  Returns false when
// the file cannot be written.
bool saveJournal(AppState& state, const std::string& path);

// The name a save suggests for a journal made at local time `when`:
// vivarix-YYYYMMDD-HHMMSS.vxs.
std::string suggestedJournalName(std::int64_t when);

// --- reading (vivarix-lab --replay) -------------------------------------------------

struct JournalEntry {
    enum class Kind { place, feed, nofeed, autoPosition, plate, check };
    Kind kind = Kind::check;
    std::uint64_t tick = 0;
    std::int32_t x = 0, y = 0;  // place, feed
    std::int32_t kind01 = 0;    // place: the creature's kind
    std::int32_t magen = 0, alter = 0, reif = 0;  // place
    std::int32_t spread = 0, grains = 0;          // feed
    std::int32_t position = 0;                    // auto
    bool randomNutrient = false;                  // plate
    std::string hash;                             // check
};

struct ParsedJournal {
    std::uint64_t seed = 0;
    bool randomNutrient = true;  // of the start-up plate
    std::vector<JournalEntry> entries;
    std::uint64_t lastTick = 0;  // the highest tick named by an entry
    // Empty when the journal is sound; else what is wrong, at line errorLine.
    std::string error;
    std::size_t errorLine = 0;
};

// Reads a journal.  A last line without its "\n" (a program killed while writing
// it) is ignored.  Never throws; a line longer than 200 characters, an unknown
// entry, a number out of its range, a tick that goes back or a missing header,
// seed or start line is an error.
ParsedJournal parseJournal(std::string_view text);

}  // namespace vivarix
