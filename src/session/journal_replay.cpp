#include "session/journal_replay.h"

#include "sim/creature_text.h"

namespace vivarix {

JournalReplay::JournalReplay(std::istream& in) : reader(in) {
    if (reader.error().empty()) {
        pending = reader.next();
        pendingLine = reader.line();
    }
}

std::optional<std::uint64_t> JournalReplay::nextTick() const {
    if (!pending) return std::nullopt;
    return pending->tick;
}

bool JournalReplay::enterTick(std::uint64_t tick, const CreatureList& creatures, const Take& take,
                              const Verified& verified) {
    if (!parted.empty()) return false;
    for (; pending && pending->tick == tick; pending = reader.next(), pendingLine = reader.line()) {
        if (const auto* check = std::get_if<Checkpoint>(&pending->item)) {
            const std::string replayed = creaturesHash(creatures);
            if (replayed != check->hash) {
                parted = "tick " + std::to_string(tick) + ": the journal's creatures hash is " + check->hash +
                         ", the replay's " + replayed;
                partedLine = pendingLine;
                return false;
            }
            ++verifiedCount;
            if (verified) verified();
            continue;
        }
        const PlaceResult result = take(std::get<Input>(pending->item));
        if (!result) {
            parted = "tick " + std::to_string(tick) + ": the placement on line " + std::to_string(pendingLine) +
                     " was refused: " + placeRefusalText(result.refusal);
            partedLine = pendingLine;
            return false;
        }
    }
    return reader.error().empty();
}

JournalScan scanJournal(std::istream& in) {
    JournalScan scan;
    JournalReader reader(in);
    scan.head = reader.head();
    while (const std::optional<JournalEntry> entry = reader.next()) {
        scan.lastTick = entry->tick;
        if (std::holds_alternative<Checkpoint>(entry->item)) ++scan.checkpoints;
    }
    scan.error = reader.error();
    scan.errorLine = reader.errorLine();
    return scan;
}

}  // namespace vivarix
