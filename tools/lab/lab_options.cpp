#include "lab_options.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <tuple>

namespace vivarix::lab {

namespace {

constexpr std::uint64_t anyNumber = std::numeric_limits<std::uint64_t>::max();

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int32_t> parseInRange(std::string_view text, std::int32_t low, std::int32_t high) {
    const auto value = parseUnsigned(text);
    if (!value || *value < static_cast<std::uint64_t>(low) || *value > static_cast<std::uint64_t>(high))
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// When `text` is a number above `high` (its digits may even overflow 64 bits):
// "WHAT TEXT is too large: at most HIGH", WHAT naming the field when it is one of
// several.  Empty for any other text, which the caller's own message describes.
std::string tooLarge(std::string_view text, std::string_view what, std::uint64_t high) {
    if (!allDigits(text)) return {};
    const auto value = parseUnsigned(text);
    if (value && *value <= high) return {};
    return (what.empty() ? "" : std::string(what) + " ") + std::string(text) + " is too large: at most " +
           std::to_string(high);
}

// Why a lone number was refused: tooLarge's words when it is too large, else
// `expected`.
std::string refusal(std::string_view text, std::uint64_t high, std::string expected) {
    std::string big = tooLarge(text, "", high);
    return big.empty() ? expected : big;
}

// The first field of `fields` (name, text, highest value) that is too large, as
// tooLarge words it; empty when none is.
std::string firstTooLarge(std::initializer_list<std::tuple<std::string_view, std::string_view, std::uint64_t>> fields) {
    for (const auto& [what, text, high] : fields)
        if (std::string why = tooLarge(text, what, high); !why.empty()) return why;
    return {};
}

// The trackbar options, in the order --help lists them, and where each is kept.
struct TrackbarOption {
    const TrackbarSpec* trackbar;
    std::int32_t Options::*field;
};

constexpr TrackbarOption trackbarOptions[] = {
    {&trackbar::autoFeed, &Options::autoPosition}, {&trackbar::magen, &Options::magenPosition},
    {&trackbar::alter, &Options::alterPosition},   {&trackbar::reif, &Options::reifPosition},
    {&trackbar::spread, &Options::spreadPosition}, {&trackbar::grains, &Options::grainsPosition},
};

constexpr const char* valueOptions[] = {"--seed",  "--ticks",     "--nutrient",       "--place",  "--scatter", "--feed",
                                        "--every", "--dump-grid", "--dump-creatures", "--replay"};
// What a replay takes besides the journal; the journal gives the rest.
constexpr const char* replayOptions[] = {"--replay",    "--ticks",          "--every",          "--stats",
                                         "--dump-grid", "--dump-creatures", "--creatures-every"};

constexpr std::int32_t maxPointerX = windowSize.width;
constexpr std::int32_t maxPointerY = windowSize.height;
const std::uint64_t defaultTicks = Options{}.ticks;

// " X 0..715, Y 0..460": the pointer's ranges, as the messages give them.
std::string pointerRanges() {
    return "X 0.." + std::to_string(maxPointerX) + ", Y 0.." + std::to_string(maxPointerY);
}

// "pass P is beyond the run of N passes ...", for a pass at or after --ticks.
std::string beyondTheRun(std::uint64_t pass, std::uint64_t ticks, bool ticksGiven) {
    std::string why =
        "pass " + std::to_string(pass) + " is beyond the run of " + std::to_string(ticks) + " passes, numbered from 0";
    if (!ticksGiven) why += " (" + std::to_string(defaultTicks) + " is the default when --ticks is not given)";
    return why;
}

}  // namespace

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
    if (!allDigits(text)) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

bool takesValue(std::string_view option) {
    return std::any_of(std::begin(valueOptions), std::end(valueOptions), [&](const char* o) { return option == o; }) ||
           std::any_of(std::begin(trackbarOptions), std::end(trackbarOptions),
                       [&](const TrackbarOption& t) { return option == t.trackbar->labOption; });
}

namespace {

// "  --magen P             \"max.Magen:\", stomach of creatures placed: 10..50 (20)"
std::string trackbarHelp(const TrackbarSpec& t) {
    std::string line = "  " + std::string(t.labOption) + " P";
    line.resize(24, ' ');
    return line + "\"" + std::string(t.caption) + "\"" + std::string(t.labHelp) + ": " + std::to_string(t.lowest) +
           ".." + std::to_string(t.highest) + " (" + std::to_string(t.initial) + ")\n";
}

std::string makeUsageText() {
    std::string text =
        "usage: vivarix-lab [--seed N] [--ticks N] [--nutrient random|empty] [--auto P]\n"
        "                   [--magen P] [--alter P] [--reif P] [--spread P] [--grains P]\n"
        "                   [--place T:K:X:Y]... [--scatter T:K:N]...\n"
        "                   [--feed T0:T1:X:Y]... [--every K] [--stats]\n"
        "                   [--dump-grid FILE] [--dump-creatures FILE]\n"
        "                   [--creatures-every K FILE]\n"
        "       vivarix-lab --replay FILE [--ticks N] [--every K] [--stats] [--dump-grid FILE]\n"
        "                   [--dump-creatures FILE] [--creatures-every K FILE]\n"
        "       vivarix-lab --help | --version\n"
        "Runs Vivarix's simulation without a window; passes are numbered from 0.\n"
        "\n"
        "  --seed N              random seed (default: from the clock, shown on stderr)\n"
        "  --ticks N             passes to run (default " +
        std::to_string(defaultTicks) +
        ")\n"
        "  --nutrient random|empty  the plate's first nutrient (default " +
        (initialRandomNutrient ? "random" : "empty") + ")\n";
    for (const TrackbarOption& t : trackbarOptions) text += trackbarHelp(*t.trackbar);
    text += "  --place T:K:X:Y       left click before pass T: kind K (0 blue, 1 red) at X,Y\n"
            "  --scatter T:K:N       before pass T, N of kind K on random plate cells\n"
            "  --feed T0:T1:X:Y      right button held at X,Y, passes T0..T1 (T1 may be end)\n"
            "  --every K             a CSV line every K passes and after the last one;\n"
            "                        without it nothing is printed\n"
            "  --stats               evolution statistics columns in the CSV (below)\n"
            "  --dump-grid FILE      the plate's nutrient cells after preparation\n"
            "  --dump-creatures FILE every creature's 20 fields after the last pass\n"
            "  --creatures-every K FILE  every creature's fields as CSV, with a tick\n"
            "                        column, at the ticks --every K would print\n"
            "  --replay FILE         replays a session journal of vivarix (Ctrl+S, --record):\n"
            "                        its seed, plates and inputs, to its last tick (or\n"
            "                        --ticks), checking every checkpoint; with --every,\n"
            "                        --stats and the dumps as above\n"
            "  -h, --help            this text\n"
            "  --version             the version\n"
            "\n"
            "CSV columns: tick,kind0,kind1,nutrient,creatures_hash; with --stats, for kind 0\n"
            "and then kind 1: strainsK (distinct colours), topK (the most common colour,\n"
            "decimal; the smallest on a tie), topCountK (its creatures) and geneK_0..geneK_5\n"
            "(the mean of the genes V, R, Sr, Rw, Sl, L); topK and the means are empty when\n"
            "the kind has no creature.\n";
    return text;
}

}  // namespace

const char* usageText() {
    static const std::string text = makeUsageText();
    return text.c_str();
}

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    auto fail = [&](std::string_view option, std::string_view why) {
        result.error = std::string(option) + ": " + std::string(why);
        return result;
    };
    bool ticksGiven = false;
    std::vector<std::size_t> feedsToEnd;  // indexes into o.feeds of feeds "T0:end"
    std::vector<std::string_view> given;  // the options, without their values

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        given.push_back(option);
        if (option == "--help" || option == "-h") {
            o.help = true;
            continue;
        }
        if (option == "--version") {
            o.version = true;
            continue;
        }
        if (option == "--stats") {
            o.stats = true;
            continue;
        }
        if (option == "--creatures-every") {
            if (i + 2 >= args.size()) return fail(option, "expected a period K and a file name");
            const std::string_view every = args[++i], file = args[++i];
            const auto period = parseUnsigned(every);
            if (!period || *period == 0)
                return fail(option, refusal(every, anyNumber, "expected a period of 1 or more passes"));
            if (file.empty()) return fail(option, "expected a file name");
            o.creaturesEvery = *period;
            o.creaturesFile = std::string(file);
            continue;
        }
        if (!takesValue(option)) return fail(option, "unknown option");
        if (i + 1 >= args.size()) return fail(option, "missing value");
        const std::string_view value = args[++i];

        if (option == "--seed") {
            const auto seed = parseUnsigned(value);
            if (!seed) return fail(option, refusal(value, anyNumber, "expected an unsigned 64-bit decimal number"));
            o.seed = *seed;
        } else if (option == "--ticks") {
            const auto ticks = parseUnsigned(value);
            if (!ticks) return fail(option, refusal(value, anyNumber, "expected a number of passes, 0 or more"));
            o.ticks = *ticks;
            ticksGiven = true;
        } else if (option == "--replay") {
            if (value.empty()) return fail(option, "expected a session journal's file name");
            o.replay = std::string(value);
        } else if (option == "--every") {
            const auto every = parseUnsigned(value);
            if (!every || *every == 0)
                return fail(option, refusal(value, anyNumber, "expected a period of 1 or more passes"));
            o.every = *every;
        } else if (option == "--nutrient") {
            if (value == "random")
                o.randomNutrient = true;
            else if (value == "empty")
                o.randomNutrient = false;
            else
                return fail(option, "expected random or empty");
        } else if (option == "--dump-grid" || option == "--dump-creatures") {
            if (value.empty()) return fail(option, "expected a file name");
            (option == "--dump-grid" ? o.dumpGrid : o.dumpCreatures) = std::string(value);
        } else if (option == "--place") {
            const auto parts = splitAt(value, ':');
            std::optional<std::uint64_t> pass;
            std::optional<std::int32_t> kind, x, y;
            if (parts.size() == 4) {
                pass = parseUnsigned(parts[0]);
                kind = parseInRange(parts[1], 0, 1);
                x = parseInRange(parts[2], 0, maxPointerX);
                y = parseInRange(parts[3], 0, maxPointerY);
                if (std::string big = firstTooLarge({{"pass", parts[0], anyNumber},
                                                     {"K", parts[1], 1},
                                                     {"X", parts[2], maxPointerX},
                                                     {"Y", parts[3], maxPointerY}});
                    !big.empty())
                    return fail(option, big);
            }
            if (!pass || !kind || !x || !y)
                return fail(option, "expected T:K:X:Y with K 0 or 1, " + pointerRanges());
            o.placements.push_back({*pass, *kind, *x, *y});
        } else if (option == "--scatter") {
            const auto parts = splitAt(value, ':');
            std::optional<std::uint64_t> pass;
            std::optional<std::int32_t> kind, count;
            if (parts.size() == 3) {
                pass = parseUnsigned(parts[0]);
                kind = parseInRange(parts[1], 0, 1);
                count = parseInRange(parts[2], 1, maxScatter);
                if (std::string big =
                        firstTooLarge({{"pass", parts[0], anyNumber}, {"K", parts[1], 1}, {"N", parts[2], maxScatter}});
                    !big.empty())
                    return fail(option, big);
            }
            if (!pass || !kind || !count)
                return fail(option, "expected T:K:N with K 0 or 1, N 1.." + std::to_string(maxScatter));
            o.scatters.push_back({*pass, *kind, *count});
        } else if (option == "--feed") {
            const auto parts = splitAt(value, ':');
            std::optional<std::uint64_t> first, last;
            std::optional<std::int32_t> x, y;
            const bool toEnd = parts.size() == 4 && parts[1] == "end";
            if (parts.size() == 4) {
                first = parseUnsigned(parts[0]);
                last = toEnd ? first : parseUnsigned(parts[1]);
                x = parseInRange(parts[2], 0, maxPointerX);
                y = parseInRange(parts[3], 0, maxPointerY);
                if (std::string big = firstTooLarge({{"T0", parts[0], anyNumber},
                                                     {"T1", toEnd ? "0" : parts[1], anyNumber},
                                                     {"X", parts[2], maxPointerX},
                                                     {"Y", parts[3], maxPointerY}});
                    !big.empty())
                    return fail(option, big);
            }
            if (!first || !last || !x || !y || *first > *last)
                return fail(option, "expected T0:T1:X:Y with T0 <= T1 (or T1 end), " + pointerRanges());
            if (toEnd) feedsToEnd.push_back(o.feeds.size());
            o.feeds.push_back({*first, *last, *x, *y});
        } else {
            for (const TrackbarOption& t : trackbarOptions) {
                const TrackbarSpec& bar = *t.trackbar;
                if (option != bar.labOption) continue;
                const auto position = parseInRange(value, bar.lowest, bar.highest);
                if (!position)
                    return fail(option, refusal(value, static_cast<std::uint64_t>(bar.highest),
                                                "expected a trackbar position " + std::to_string(bar.lowest) +
                                                    ".." + std::to_string(bar.highest)));
                o.*t.field = *position;
            }
        }
    }
    o.ticksGiven = ticksGiven;
    if (o.replay) {
        for (const std::string_view option : given)
            if (option != "--help" && option != "-h" && option != "--version" &&
                std::none_of(std::begin(replayOptions), std::end(replayOptions),
                             [&](const char* r) { return option == r; }))
                return fail(option, "not with --replay: the journal gives the seed, the plate and the inputs");
        return result;
    }
    // Passes are checked against the run once --ticks, wherever it stands, is known.
    for (const Placement& p : o.placements)
        if (p.pass >= o.ticks) return fail("--place", beyondTheRun(p.pass, o.ticks, ticksGiven));
    for (const Scatter& s : o.scatters)
        if (s.pass >= o.ticks) return fail("--scatter", beyondTheRun(s.pass, o.ticks, ticksGiven));
    for (const std::size_t i : feedsToEnd) {
        if (o.feeds[i].firstPass >= o.ticks)
            return fail("--feed", beyondTheRun(o.feeds[i].firstPass, o.ticks, ticksGiven));
        o.feeds[i].lastPass = o.ticks - 1;
    }
    for (std::size_t i = 0; i < o.feeds.size(); ++i) {
        const Feed& f = o.feeds[i];
        if (f.lastPass >= o.ticks) return fail("--feed", beyondTheRun(f.lastPass, o.ticks, ticksGiven));
        for (std::size_t j = 0; j < i; ++j)
            if (f.firstPass <= o.feeds[j].lastPass && o.feeds[j].firstPass <= f.lastPass)
                return fail("--feed", "feeds overlap: at most one feed per pass");
    }
    return result;
}

}  // namespace vivarix::lab
