// Replaying a session journal on a lab: the journal's seed and start-up plate, then
// before every tick the entries of that tick in the order they were written.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "app/journal.h"
#include "lab_run.h"

namespace vivarix::lab {

class Replay {
public:
    explicit Replay(ParsedJournal journal) : journal(std::move(journal)) {}

    // Prepares the lab's plate as the session's start-up did.
    void prepare(Lab& lab) const;

    // Applies the entries of tick `tick` (placements, Auto, new plates, checkpoints)
    // and sets the pointer and right button for the tick.  Call for 0, 1, 2, ... in
    // turn, before each tick runs, and once more after the last.  Returns false at
    // a checkpoint the creatures disagree with; `mismatch` then tells.
    bool enterTick(Lab& lab, std::uint64_t tick);

    std::uint64_t lastTick() const { return journal.lastTick; }
    std::size_t checkpointsVerified() const { return verified; }
    std::string mismatch;

private:
    ParsedJournal journal;
    std::size_t next = 0;
    std::size_t verified = 0;
    bool feeding = false;
    std::int32_t feedX = 0, feedY = 0;
};

// vivarix-lab --replay: reads the journal (exit 2 naming the file and line when it
// is broken or cannot be read), replays it to its last tick or to --ticks with the
// CSV and dumps of the options, and exits 3 at the first checkpoint that
// disagrees, naming the tick and both hashes; else 0, with "replay verified: N
// checkpoints" on `err`.  Exit 1 when a dump cannot be written.
int replayMain(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace vivarix::lab
