// What the population window charts: plain data the logic hands to the desktop.
//
// Every series is already reduced to a point per two pixel columns of the chart's
// plot area (Desktop::populationPlotWidth), oldest first, each with the smallest
// and the largest value of the ticks it stands for, drawn as a shaded band, and
// the value at its last tick, drawn as a line.  The desktop draws what it is given,
// so its cost does not grow with the length of the run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vivarix {

struct ChartPoint {
    std::uint64_t tick = 0;  // the last tick of the plate the point covers
    std::int64_t min = 0;    // the smallest and largest value over the ticks it covers
    std::int64_t max = 0;
    std::int64_t value = 0;  // the value after `tick`
};

struct PopulationChart {
    std::string title;       // the window's title
    std::uint64_t plate = 0;  // numbers the plates: a new number is a new plate's story
    std::uint64_t tick = 0;   // the plate's tick
    // Per kind (0 blue, 1 red): living creatures, and strains (distinct colours).
    std::array<std::vector<ChartPoint>, 2> creatures;
    std::array<std::vector<ChartPoint>, 2> strains;
    std::vector<ChartPoint> nutrient;  // units of nutrient on the plate
};

// The ticks `first` to `last` (both included) of plate number `plate` that the user
// zoomed the chart into.
struct ChartZoom {
    std::uint64_t plate = 0;
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    bool operator==(const ChartZoom&) const = default;
};

}  // namespace vivarix
