#include "session/journal_text.h"

#include <charconv>

#include "platform/core/text.h"
#include "session/control_table.h"

namespace vivarix {

namespace {

const char* nutrientWord(bool randomNutrient) { return randomNutrient ? "random" : "empty"; }

void add(std::string& line, std::int64_t value) {
    line += ' ';
    line += std::to_string(value);
}

// The keyword and fields of an entry after its tick.
struct Format {
    std::string& line;
    void operator()(const PlaceInput& p) const {
        for (const std::int32_t v : {p.x, p.y, p.kind, p.magen, p.alter, p.reif}) add(line, v);
    }
    void operator()(const FeedInput& f) const {
        for (const std::int32_t v : {f.x, f.y, f.spread, f.grains}) add(line, v);
    }
    void operator()(const NoFeedInput&) const {}
    void operator()(const AutoInput& a) const { add(line, a.position); }
    void operator()(const PlateInput& p) const { (line += ' ') += nutrientWord(p.randomNutrient); }
};

const char* keyword(const Input& input) {
    static constexpr const char* words[] = {"place", "feed", "nofeed", "auto", "plate"};
    static_assert(std::size(words) == std::variant_size_v<Input>);
    return words[input.index()];
}

// The words of one line, and the first thing wrong with them.
class Words {
public:
    explicit Words(std::string_view line) : rest(line) {}

    std::string_view word() {
        const std::size_t end = rest.find(' ');
        const std::string_view w = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        return w;
    }
    bool atEnd() const { return rest.empty(); }

    // An unsigned decimal in low..high; notes an error otherwise.
    std::uint64_t number(std::string_view what, std::uint64_t low, std::uint64_t high) {
        const std::string_view w = word();
        std::uint64_t value = 0;
        if (!error.empty()) return 0;
        if (w.empty()) {
            fail("missing " + std::string(what));
            return 0;
        }
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
        if (ec == std::errc::result_out_of_range && w.find_first_not_of("0123456789") == std::string_view::npos)
            fail(std::string(what) + " " + std::string(w) + " is too large");
        else if (ec != std::errc() || end != w.data() + w.size() || w.front() == '+')
            fail(std::string(what) + " \"" + std::string(w) + "\" is not a decimal number");
        else if (value < low || value > high)
            fail(std::string(what) + " " + std::string(w) + " is outside " + std::to_string(low) + ".." +
                 std::to_string(high));
        return value;
    }
    std::int32_t small(std::string_view what, std::int32_t low, std::int32_t high) {
        return static_cast<std::int32_t>(
            number(what, static_cast<std::uint64_t>(low), static_cast<std::uint64_t>(high)));
    }
    std::int32_t position(const TrackbarSpec& t) { return small(positionName(t), t.lowest, t.highest); }
    bool nutrient() {
        const std::string_view w = word();
        if (w != "random" && w != "empty") fail("expected random or empty");
        return w == "random";
    }
    void fail(std::string why) {
        if (error.empty()) error = printableText(why);
    }

    std::string error;

private:
    std::string_view rest;
};

}  // namespace

std::string journalHeadText(const JournalHead& head) {
    return std::string(journalHeader) + "\nseed " + std::to_string(head.seed) + "\nstart " +
           nutrientWord(head.randomNutrient) + "\n";
}

std::string journalLine(const JournalEntry& entry) {
    if (const auto* check = std::get_if<Checkpoint>(&entry.item))
        return "check " + std::to_string(entry.tick) + ' ' + check->hash;
    const Input& input = std::get<Input>(entry.item);
    std::string line = keyword(input);
    line += ' ';
    line += std::to_string(entry.tick);
    std::visit(Format{line}, input);
    return line;
}

ParsedLine parseJournalLine(std::string_view line) {
    Words in(line);
    const std::string_view word = in.word();
    JournalEntry e;
    const auto tick = [&] { e.tick = in.number("tick", 0, UINT64_MAX); };
    if (word == "place") {
        tick();
        PlaceInput p;
        p.x = in.small("x", 0, windowSize.width);
        p.y = in.small("y", 0, windowSize.height);
        p.kind = in.small("kind", 0, 1);
        p.magen = in.position(trackbar::magen);
        p.alter = in.position(trackbar::alter);
        p.reif = in.position(trackbar::reif);
        e.item = Input(p);
    } else if (word == "feed") {
        tick();
        FeedInput f;
        f.x = in.small("x", 0, windowSize.width);
        f.y = in.small("y", 0, windowSize.height);
        f.spread = in.position(trackbar::spread);
        f.grains = in.position(trackbar::grains);
        e.item = Input(f);
    } else if (word == "nofeed") {
        tick();
        e.item = Input(NoFeedInput{});
    } else if (word == "auto") {
        tick();
        e.item = Input(AutoInput{in.position(trackbar::autoFeed)});
    } else if (word == "plate") {
        tick();
        e.item = Input(PlateInput{in.nutrient()});
    } else if (word == "check") {
        tick();
        const std::string_view hash = in.word();
        if (hash.size() != 16 || hash.find_first_not_of("0123456789abcdef") != std::string_view::npos)
            in.fail("expected a hash of 16 hex digits");
        e.item = Checkpoint{std::string(hash)};
    } else {
        in.fail("unknown entry \"" + std::string(word.substr(0, 40)) + "\"");
    }
    if (in.error.empty() && !in.atEnd()) in.fail("unexpected text at the end of the line");
    if (!in.error.empty()) return {std::nullopt, in.error};
    return {std::move(e), {}};
}

}  // namespace vivarix
