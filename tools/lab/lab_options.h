// The command line of vivarix-lab.
//
//   vivarix-lab [--seed N] [--ticks N] [--nutrient random|empty] [--auto P]
//               [--magen P] [--alter P] [--reif P] [--spread P] [--grains P]
//               [--place T:K:X:Y]... [--scatter T:K:N]... [--feed T0:T1:X:Y]...
//               [--every K] [--stats] [--dump-grid FILE] [--dump-creatures FILE]
//               [--creatures-every K FILE]
//   vivarix-lab --replay FILE [--ticks N] [--every K] [--stats] [--dump-grid FILE]
//               [--dump-creatures FILE] [--creatures-every K FILE]
//   vivarix-lab --help | --version
//
// Trackbar positions take the ranges and defaults of the program's controls (the
// control table); the trackbar options and their --help lines come from it.  A
// placement is a left click before the tick of pass T; a scatter is N such clicks
// on random plate cells; a feed holds the right button during passes T0..T1 (T1
// "end": the last pass).  Passes are numbered from 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/control_table.h"

namespace vivarix::lab {

struct Placement {
    std::uint64_t pass = 0;
    std::int32_t kind = 0;  // 0 or 1
    std::int32_t x = 0;     // pointer position in window coordinates, 0..windowSize.width
    std::int32_t y = 0;     // 0..windowSize.height
};

// N clicks placing kind K on plate cells drawn at random (see lab_run.h).
struct Scatter {
    std::uint64_t pass = 0;
    std::int32_t kind = 0;   // 0 or 1
    std::int32_t count = 0;  // 1..maxScatter
};

// The most creatures one --scatter places: one per cell of the plate.
inline constexpr std::int32_t maxScatter = plateSide * plateSide;

struct Feed {
    std::uint64_t firstPass = 0;
    std::uint64_t lastPass = 0;  // inclusive
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Options {
    std::optional<std::uint64_t> seed;  // none: seeded from the clock
    std::uint64_t ticks = 1000;
    bool ticksGiven = false;            // --ticks was given (else ticks is the default)
    bool randomNutrient = initialRandomNutrient;
    // Trackbar positions, in the ranges of the control table.
    std::int32_t autoPosition = trackbar::autoFeed.initial;
    std::int32_t magenPosition = trackbar::magen.initial;
    std::int32_t alterPosition = trackbar::alter.initial;
    std::int32_t reifPosition = trackbar::reif.initial;
    std::int32_t spreadPosition = trackbar::spread.initial;
    std::int32_t grainsPosition = trackbar::grains.initial;
    std::vector<Placement> placements;  // in command-line order
    std::vector<Scatter> scatters;      // in command-line order
    std::vector<Feed> feeds;            // non-overlapping; "end" already resolved
    std::optional<std::uint64_t> every; // CSV period; none: no CSV
    bool stats = false;                 // the CSV's evolution statistics columns
    std::optional<std::string> dumpGrid;
    std::optional<std::string> dumpCreatures;
    std::optional<std::string> replay;  // a session journal to replay instead of the options above
    std::optional<std::uint64_t> creaturesEvery;  // --creatures-every K FILE: K
    std::optional<std::string> creaturesFile;     // and FILE
    bool help = false;
    bool version = false;
};

struct ParseResult {
    Options options;
    std::string error;  // empty on success; else one line naming the option
};

// Parses argv[1..argc-1].  Never throws and never exits.
ParseResult parseOptions(const std::vector<std::string>& args);

// Whether `option` is one of the lab's options that take a value.
bool takesValue(std::string_view option);

// The pieces of `text` between the `separator`s: one piece when there is none,
// and empty pieces where two separators meet or one stands at an end.
std::vector<std::string_view> splitAt(std::string_view text, char separator);

// Plain decimal digits only (no sign, blanks or other characters) that fit an
// unsigned 64-bit number.
std::optional<std::uint64_t> parseUnsigned(std::string_view text);

// The usage text printed by --help: the synopsis, then every option with one line
// of explanation and the CSV columns.
const char* usageText();

}  // namespace vivarix::lab
