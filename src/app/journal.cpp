#include "app/journal.h"

#include <charconv>
#include <ctime>

#include "app/app_state.h"
#include "sim/control_numbers.h"
#include "sim/creature_text.h"
#include "sim/tick.h"

namespace vivarix {

namespace {

constexpr std::size_t longestLine = 200;
// Beyond about two years at 61 ticks a second: a tick this large is a broken file.
constexpr std::uint64_t largestTick = UINT32_MAX;

// Appends one line (without its "\n") to the journal and to the recording.  A
// recording that fails is closed; the journal in memory goes on.
void writeLine(AppState& state, const std::string& line) {
    Journal& j = state.journal;
    j.text += line;
    j.text += '\n';
    if (!j.recording) return;
    std::FILE* file = j.recording.get();
    const bool ok = std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fputc('\n', file) != EOF &&
                    std::fflush(file) == 0;
    if (ok) return;
    j.recording.reset();
    if (state.messages)
        state.messages->messageBox("Vivarix", "The session can no longer be recorded to " + j.recordingPath +
                                                  ". It goes on without recording.");
}

std::string entry(std::string_view keyword, std::uint64_t tick) {
    return std::string(keyword) + ' ' + std::to_string(tick);
}

void add(std::string& line, std::int64_t value) {
    line += ' ';
    line += std::to_string(value);
}

const char* nutrientWord(const AppState& state) {
    return controlState(state, control::randomOption) == 1 ? "random" : "empty";
}

void writeCheckpoint(AppState& state) {
    writeLine(state, entry("check", state.sessionTicks) + ' ' + creaturesHash(state.creatureList));
}

}  // namespace

void journalStart(AppState& state) {
    state.journal.text.clear();
    writeLine(state, std::string(journalHeader));
    writeLine(state, "seed " + std::to_string(state.seed));
    writeLine(state, std::string("start ") + nutrientWord(state));
}

void journalPlacement(AppState& state) {
    std::string line = entry("place", state.sessionTicks);
    add(line, state.mouseX);
    add(line, state.mouseY);
    add(line, state.placementKind == placeKind0 ? 0 : 1);
    add(line, controlState(state, control::magenTrackbar));
    add(line, controlState(state, control::alterTrackbar));
    add(line, controlState(state, control::reifTrackbar));
    writeLine(state, line);
}

void journalNewPlate(AppState& state) {
    writeLine(state, entry("plate", state.sessionTicks) + ' ' + nutrientWord(state));
}

void runJournalledTick(AppState& state) {
    Journal& j = state.journal;
    // What the tick will drop, not where the trackbar stands: the trackbar moves as
    // soon as the user drags it, autoFeedAmount only when its event is handled.
    const std::int32_t autoPosition = state.autoFeedAmount / control::autoFeedPerStep;
    if (autoPosition != j.autoPosition) {
        j.autoPosition = autoPosition;
        std::string line = entry("auto", state.sessionTicks);
        add(line, autoPosition);
        writeLine(state, line);
    }
    const bool feeding = state.feedingActive == 1;
    const std::int32_t spread = controlState(state, control::spreadTrackbar);
    const std::int32_t grains = controlState(state, control::grainsTrackbar);
    if (feeding && (!j.feeding || j.feedX != state.mouseX || j.feedY != state.mouseY || j.feedSpread != spread ||
                    j.feedGrains != grains)) {
        std::string line = entry("feed", state.sessionTicks);
        for (const std::int32_t value : {state.mouseX, state.mouseY, spread, grains}) add(line, value);
        writeLine(state, line);
        j.feedX = state.mouseX;
        j.feedY = state.mouseY;
        j.feedSpread = spread;
        j.feedGrains = grains;
    } else if (!feeding && j.feeding) {
        writeLine(state, entry("nofeed", state.sessionTicks));
    }
    j.feeding = feeding;

    runTick(state);
    ++state.sessionTicks;
    if (state.sessionTicks % journalCheckpointTicks == 0) writeCheckpoint(state);
}

bool startRecording(AppState& state, const std::string& path) {
    Journal& j = state.journal;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    if (std::fwrite(j.text.data(), 1, j.text.size(), file.get()) != j.text.size() || std::fflush(file.get()) != 0)
        return false;
    j.recording = std::move(file);
    j.recordingPath = path;
    return true;
}

bool saveJournal(AppState& state, const std::string& path) {
    writeCheckpoint(state);
    return writeWholeFile(path, state.journal.text);
}

std::string suggestedJournalName(std::int64_t when) {
    const std::time_t time = static_cast<std::time_t>(when);
    std::tm local{};
    localtime_r(&time, &local);
    char name[40];
    std::strftime(name, sizeof name, "vivarix-%Y%m%d-%H%M%S.vxs", &local);
    return name;
}

// --- reading ---------------------------------------------------------------------

namespace {

// The words of one line, and what is wrong with it.
class LineReader {
public:
    explicit LineReader(std::string_view line) : rest(line) {}

    std::string_view word() {
        const std::size_t end = rest.find(' ');
        const std::string_view w = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        return w;
    }
    bool atEnd() const { return rest.empty(); }

    // An unsigned decimal in low..high; sets `error` otherwise.
    std::uint64_t number(const char* what, std::uint64_t low, std::uint64_t high) {
        const std::string_view w = word();
        std::uint64_t value = 0;
        if (!error.empty()) return 0;
        if (w.empty()) {
            error = std::string("missing ") + what;
            return 0;
        }
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
        if (ec == std::errc::result_out_of_range) {
            error = std::string(what) + " " + std::string(w) + " is too large";
        } else if (ec != std::errc() || end != w.data() + w.size() || w.front() == '+') {
            error = std::string(what) + " \"" + std::string(w) + "\" is not a decimal number";
        } else if (value < low || value > high) {
            error = std::string(what) + " " + std::string(w) + " is outside " + std::to_string(low) + ".." +
                    std::to_string(high);
        }
        return value;
    }
    std::int32_t small(const char* what, std::int32_t low, std::int32_t high) {
        return static_cast<std::int32_t>(
            number(what, static_cast<std::uint64_t>(low), static_cast<std::uint64_t>(high)));
    }
    bool nutrient() {
        const std::string_view w = word();
        if (error.empty() && w != "random" && w != "empty") error = "expected random or empty";
        return w == "random";
    }

    std::string error;

private:
    std::string_view rest;
};

}  // namespace

ParsedJournal parseJournal(std::string_view text) {
    ParsedJournal journal;
    std::size_t lineNumber = 0;
    std::uint64_t lastTick = 0;
    auto fail = [&](std::string why) {
        journal.error = std::move(why);
        journal.errorLine = lineNumber;
        return journal;
    };
    std::size_t start = 0;
    for (;;) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos) break;  // a cut-off last line is dropped
        const std::string_view line = text.substr(start, newline - start);
        start = newline + 1;
        ++lineNumber;
        if (line.size() > longestLine)
            return fail("the line is " + std::to_string(line.size()) + " characters long, more than " +
                        std::to_string(longestLine));

        LineReader in(line);
        if (lineNumber == 1) {
            if (line.rfind("vivarix-session ", 0) != 0) return fail("not a Vivarix session journal");
            if (line != journalHeader)
                return fail("journal format \"" + std::string(line.substr(16)) + "\" is not supported (only 1)");
            continue;
        }
        const std::string_view keyword = in.word();
        if (lineNumber == 2) {
            if (keyword != "seed") return fail("expected the seed line");
            journal.seed = in.number("seed", 0, UINT64_MAX);
        } else if (lineNumber == 3) {
            if (keyword != "start") return fail("expected the start line");
            journal.randomNutrient = in.nutrient();
        } else {
            JournalEntry e;
            if (keyword == "place")
                e.kind = JournalEntry::Kind::place;
            else if (keyword == "feed")
                e.kind = JournalEntry::Kind::feed;
            else if (keyword == "nofeed")
                e.kind = JournalEntry::Kind::nofeed;
            else if (keyword == "auto")
                e.kind = JournalEntry::Kind::autoPosition;
            else if (keyword == "plate")
                e.kind = JournalEntry::Kind::plate;
            else if (keyword == "check")
                e.kind = JournalEntry::Kind::check;
            else
                return fail("unknown entry \"" + std::string(keyword.substr(0, 40)) + "\"");
            e.tick = in.number("tick", 0, largestTick);
            if (in.error.empty() && e.tick < lastTick)
                return fail("tick " + std::to_string(e.tick) + " comes after tick " + std::to_string(lastTick));
            switch (e.kind) {
            case JournalEntry::Kind::place:
                e.x = in.small("x", 0, 715);
                e.y = in.small("y", 0, 460);
                e.kind01 = in.small("kind", 0, 1);
                e.magen = in.small("max.Magen position", 0, 50);
                e.alter = in.small("max.Alter position", 0, 50);
                e.reif = in.small("Geschlechtsreif position", 0, 50);
                break;
            case JournalEntry::Kind::feed:
                e.x = in.small("x", 0, 715);
                e.y = in.small("y", 0, 460);
                e.spread = in.small("M. Size position", 0, 12);
                e.grains = in.small("M. NpF position", 0, 25);
                break;
            case JournalEntry::Kind::autoPosition:
                e.position = in.small("Auto position", 0, 40);
                break;
            case JournalEntry::Kind::plate:
                e.randomNutrient = in.nutrient();
                break;
            case JournalEntry::Kind::check: {
                const std::string_view hash = in.word();
                if (in.error.empty() &&
                    (hash.size() != 16 || hash.find_first_not_of("0123456789abcdef") != std::string_view::npos))
                    in.error = "expected a hash of 16 hex digits";
                e.hash = hash;
                break;
            }
            case JournalEntry::Kind::nofeed:
                break;
            }
            if (in.error.empty()) {
                lastTick = e.tick;
                journal.entries.push_back(std::move(e));
            }
        }
        if (!in.error.empty()) return fail(in.error);
        if (!in.atEnd()) return fail("unexpected text at the end of the line");
    }
    if (lineNumber < 3) {
        ++lineNumber;
        return fail(lineNumber == 1 ? "empty: not a Vivarix session journal"
                                    : "the journal ends before its seed and start lines");
    }
    journal.lastTick = lastTick;
    return journal;
}

}  // namespace vivarix
