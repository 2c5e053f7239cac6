// libFuzzer target: the session journal reader (vivarix-lab --replay reads what it
// accepts).  Broken contracts of journal_reader.h abort, which libFuzzer reports as
// a crash:
// - a refused journal names a line (1 or more, at most the lines of the input) and
//   says what is wrong, with no control byte in the message;
// - an accepted entry has a tick no smaller than the one before, every position in
//   its trackbar's range (the control table), every pointer in the window, every
//   hash 16 hex digits, and reads back from its own line unchanged;
// - reading the same text twice gives the same result.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "session/control_table.h"
#include "session/journal_reader.h"

namespace {

using namespace vivarix;

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "journal fuzzer: %s\n", what);
    std::abort();
}

bool inWindow(std::int32_t x, std::int32_t y) {
    return x >= 0 && x <= windowSize.width && y >= 0 && y <= windowSize.height;
}

struct InRange {
    bool operator()(const PlaceInput& p) const {
        return inWindow(p.x, p.y) && (p.kind == 0 || p.kind == 1) && inRange(trackbar::magen, p.magen) &&
               inRange(trackbar::alter, p.alter) && inRange(trackbar::reif, p.reif);
    }
    bool operator()(const FeedInput& f) const {
        return inWindow(f.x, f.y) && inRange(trackbar::spread, f.spread) && inRange(trackbar::grains, f.grains);
    }
    bool operator()(const NoFeedInput&) const { return true; }
    bool operator()(const AutoInput& a) const { return inRange(trackbar::autoFeed, a.position); }
    bool operator()(const PlateInput&) const { return true; }
};

// Every entry of `text` and where the reader stopped.
std::size_t readAll(std::string_view text, std::string& error) {
    std::istringstream in{std::string(text)};
    JournalReader reader(in);
    std::uint64_t tick = 0;
    std::size_t entries = 0;
    while (const auto entry = reader.next()) {
        ++entries;
        check(entry->tick >= tick, "ticks never go back");
        tick = entry->tick;
        if (const auto* input = std::get_if<Input>(&entry->item)) {
            check(std::visit(InRange{}, *input), "every value in its range");
        } else {
            const std::string& hash = std::get<Checkpoint>(entry->item).hash;
            check(hash.size() == 16 && hash.find_first_not_of("0123456789abcdef") == std::string::npos,
                  "hashes of 16 hex digits");
        }
        const ParsedLine again = parseJournalLine(journalLine(*entry));
        check(again.entry && *again.entry == *entry, "an entry reads back from its own line");
    }
    error = reader.error();
    if (!error.empty()) {
        const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        check(reader.errorLine() >= 1 && reader.errorLine() <= lines + 1, "a refusal names a line of the input");
        check(std::none_of(error.begin(), error.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }),
              "no control byte in a message");
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error, again;
    const std::size_t entries = readAll(text, error);
    check(readAll(text, again) == entries && again == error, "reading is repeatable");
    return 0;
}
