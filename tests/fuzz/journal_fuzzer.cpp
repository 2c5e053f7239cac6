// libFuzzer target: the session journal reader (vivarix-lab --replay reads what it
// accepts).  Broken contracts of journal.h abort, which libFuzzer reports as a crash:
// - a refused journal names a line (1 or more, at most the lines of the input) and
//   says what is wrong;
// - an accepted one has its ticks in order, lastTick the highest of them, every
//   value in the range of its field and every hash 16 hex digits;
// - reading the same text twice gives the same result.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <algorithm>

#include "app/journal.h"

namespace {

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "journal fuzzer: %s\n", what);
    std::abort();
}

bool within(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vivarix;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedJournal journal = parseJournal(text);
    if (!journal.error.empty()) {
        const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        check(journal.errorLine >= 1 && journal.errorLine <= lines + 1, "a refusal names a line of the input");
        return 0;
    }
    std::uint64_t tick = 0;
    for (const JournalEntry& e : journal.entries) {
        check(e.tick >= tick, "ticks never go back");
        tick = e.tick;
        check(within(e.x, 0, 715) && within(e.y, 0, 460), "positions inside the window");
        check(within(e.kind01, 0, 1) && within(e.magen, 0, 50) && within(e.alter, 0, 50) && within(e.reif, 0, 50),
              "placement values in range");
        check(within(e.spread, 0, 12) && within(e.grains, 0, 25) && within(e.position, 0, 40), "slider values in range");
        if (e.kind == JournalEntry::Kind::check)
            check(e.hash.size() == 16 && e.hash.find_first_not_of("0123456789abcdef") == std::string::npos,
                  "hashes of 16 hex digits");
    }
    check(journal.lastTick == tick, "lastTick is the last entry's tick");
    const ParsedJournal again = parseJournal(text);
    check(again.entries.size() == journal.entries.size() && again.seed == journal.seed, "reading is repeatable");
    return 0;
}
