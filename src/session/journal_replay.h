// Replaying a journal: its inputs taken at their ticks and its checkpoints compared
// with the creatures, strictly, so that a replay that parts from the recorded
// session says so where it happens.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "session/journal_reader.h"
#include "sim/records.h"

namespace vivarix {

class JournalReplay {
public:
    // Reads the journal's head from `in`, which must outlive the replay; error()
    // tells when it is broken.
    explicit JournalReplay(std::istream& in);

    const JournalHead& head() const { return reader.head(); }

    // How an input is taken: applied (and perhaps journalled) by the caller.
    using Take = std::function<PlaceResult(const Input&)>;
    // Told of each checkpoint that agreed, in file order among the inputs.
    using Verified = std::function<void()>;

    // Takes the entries of tick `tick` in file order: each input through `take`,
    // each checkpoint compared with the hash of `creatures` as they stand (and,
    // when it agrees, told to `verified` if given).  Call for the ticks 0, 1, 2,
    // ... in turn, before each tick runs, and once more after the last.  Returns
    // false at the first input that is refused or checkpoint that disagrees
    // (mismatch() tells, mismatchLine() where), and at a broken line (error());
    // the entries after it are left untaken.
    bool enterTick(std::uint64_t tick, const CreatureList& creatures, const Take& take,
                   const Verified& verified = {});

    // The tick of the next entry not yet taken; none when every entry is taken.
    std::optional<std::uint64_t> nextTick() const;
    std::size_t checkpointsVerified() const { return verifiedCount; }

    // What parted the replay from the journal: "tick T: the journal's creatures hash
    // is X, the replay's Y", or "tick T: the placement on line L was refused: WHY".
    const std::string& mismatch() const { return parted; }
    std::size_t mismatchLine() const { return partedLine; }

    // A broken journal: what is wrong (printable), and on which line.
    const std::string& error() const { return reader.error(); }
    std::size_t errorLine() const { return reader.errorLine(); }

private:
    JournalReader reader;
    std::optional<JournalEntry> pending;  // read, not yet taken
    std::size_t pendingLine = 0;
    std::size_t verifiedCount = 0;
    std::string parted;
    std::size_t partedLine = 0;
};

// What scanJournal finds in a whole journal without replaying it.
struct JournalScan {
    JournalHead head;
    std::uint64_t lastTick = 0;  // the highest tick named by an entry
    std::size_t checkpoints = 0;
    std::string error;           // empty when the journal is sound
    std::size_t errorLine = 0;
};

// Reads a journal to its end, checking every line.
JournalScan scanJournal(std::istream& in);

}  // namespace vivarix
