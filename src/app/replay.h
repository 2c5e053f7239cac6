// A recorded session played back in the window: its journal read as the session
// goes, each recorded input taken through the session at its tick, each checkpoint
// compared with the creatures, until the recording ends or the user takes over.
//
// At tick T of a replay the ticks 0 to T-1 have run and the recorded entries of
// tick T are taken: the state vivarix-lab --replay FILE --ticks T ends in.  The
// program's own journal is rebuilt as the replay goes (the inputs through
// takeUserInput, the recording's checkpoints copied where they agreed), so that
// whatever the user does after taking over continues a journal that replays.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "session/journal_replay.h"

namespace vivarix {

struct AppState;

struct Replay {
    // Reads the head of the journal at `path`; journal.error() tells when it cannot.
    Replay(const std::string& path, std::uint64_t recordingEnd);
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    std::string path;
    std::ifstream file;
    JournalReplay journal;      // reads `file`
    std::uint64_t lastTick = 0;  // the recording's end: the highest tick its entries name
};

// Whether a recording is being replayed.
bool replaying(const AppState& state);

// Whether a replay stands at the recording's end.
bool atRecordingEnd(const AppState& state);

// Takes the recorded entries of the session's tick: each input through
// takeUserInput (a recorded Auto level also moves the "Auto" trackbar), each
// checkpoint compared and copied into the session's journal.  A refused input, a
// checkpoint that disagrees or a line broken since the file was opened is told in a
// message box naming the tick (and both hashes, or the line), and the session goes
// on live from there (endReplay).  Returns whether the replay goes on.
bool takeRecordedInputs(AppState& state);

// The replay stops where it stands and the session goes on live, with its own
// checkpoints: the rest of the recording is dropped.  Nothing happens while live.
void endReplay(AppState& state);

}  // namespace vivarix
