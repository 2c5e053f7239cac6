#include "lab_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace vivarix::lab {

namespace {

// Plain decimal digits only: no sign, no blanks, no trailing characters.
std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> parseInRange(std::string_view text, std::int32_t low, std::int32_t high) {
    const auto value = parseUnsigned(text);
    if (!value || *value < static_cast<std::uint64_t>(low) || *value > static_cast<std::uint64_t>(high))
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::vector<std::string_view> splitColons(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    return parts;
}

struct Trackbar {
    const char* name;
    std::int32_t low;
    std::int32_t high;
    std::int32_t Options::*field;
};

constexpr Trackbar trackbars[] = {
    {"--auto", 0, 40, &Options::autoPosition},    {"--magen", 10, 50, &Options::magenPosition},
    {"--alter", 10, 50, &Options::alterPosition}, {"--reif", 10, 50, &Options::reifPosition},
    {"--spread", 2, 12, &Options::spreadPosition}, {"--grains", 5, 25, &Options::grainsPosition},
};

constexpr std::int32_t maxPointerX = 715;
constexpr std::int32_t maxPointerY = 460;

}  // namespace

const char* usageText() {
    return "usage: vivarix-lab [--seed N] [--ticks N] [--nutrient random|empty] [--auto P]\n"
           "                   [--magen P] [--alter P] [--reif P] [--spread P] [--grains P]\n"
           "                   [--place T:K:X:Y]... [--feed T0:T1:X:Y]... [--every K]\n"
           "                   [--dump-grid FILE] [--dump-creatures FILE]\n";
}

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    auto fail = [&](std::string_view option, std::string_view why) {
        result.error = std::string(option) + ": " + std::string(why);
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        if (option == "--help" || option == "-h") {
            o.help = true;
            continue;
        }
        const bool known = option == "--seed" || option == "--ticks" || option == "--nutrient" ||
                           option == "--place" || option == "--feed" || option == "--every" ||
                           option == "--dump-grid" || option == "--dump-creatures" ||
                           std::any_of(std::begin(trackbars), std::end(trackbars),
                                       [&](const Trackbar& t) { return option == t.name; });
        if (!known) return fail(option, "unknown option");
        if (i + 1 >= args.size()) return fail(option, "missing value");
        const std::string_view value = args[++i];

        if (option == "--seed") {
            const auto seed = parseUnsigned(value);
            if (!seed) return fail(option, "expected an unsigned 64-bit decimal number");
            o.seed = *seed;
        } else if (option == "--ticks") {
            const auto ticks = parseUnsigned(value);
            if (!ticks) return fail(option, "expected a number of passes, 0 or more");
            o.ticks = *ticks;
        } else if (option == "--every") {
            const auto every = parseUnsigned(value);
            if (!every || *every == 0) return fail(option, "expected a period of 1 or more passes");
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
            const auto parts = splitColons(value);
            std::optional<std::uint64_t> pass;
            std::optional<std::int32_t> kind, x, y;
            if (parts.size() == 4) {
                pass = parseUnsigned(parts[0]);
                kind = parseInRange(parts[1], 0, 1);
                x = parseInRange(parts[2], 0, maxPointerX);
                y = parseInRange(parts[3], 0, maxPointerY);
            }
            if (!pass || !kind || !x || !y)
                return fail(option, "expected T:K:X:Y with K 0 or 1, X 0..715, Y 0..460");
            o.placements.push_back({*pass, *kind, *x, *y});
        } else if (option == "--feed") {
            const auto parts = splitColons(value);
            std::optional<std::uint64_t> first, last;
            std::optional<std::int32_t> x, y;
            if (parts.size() == 4) {
                first = parseUnsigned(parts[0]);
                last = parseUnsigned(parts[1]);
                x = parseInRange(parts[2], 0, maxPointerX);
                y = parseInRange(parts[3], 0, maxPointerY);
            }
            if (!first || !last || !x || !y || *first > *last)
                return fail(option, "expected T0:T1:X:Y with T0 <= T1, X 0..715, Y 0..460");
            for (const Feed& other : o.feeds)
                if (*first <= other.lastPass && other.firstPass <= *last)
                    return fail(option, "feeds overlap: at most one feed per pass");
            o.feeds.push_back({*first, *last, *x, *y});
        } else {
            for (const Trackbar& t : trackbars) {
                if (option != t.name) continue;
                const auto position = parseInRange(value, t.low, t.high);
                if (!position)
                    return fail(option, "expected a trackbar position " + std::to_string(t.low) + ".." +
                                            std::to_string(t.high));
                o.*t.field = *position;
            }
        }
    }
    for (const Placement& p : o.placements)
        if (p.pass >= o.ticks) return fail("--place", "pass " + std::to_string(p.pass) + " is not below --ticks");
    for (const Feed& f : o.feeds)
        if (f.lastPass >= o.ticks) return fail("--feed", "pass " + std::to_string(f.lastPass) + " is not below --ticks");
    return result;
}

}  // namespace vivarix::lab
