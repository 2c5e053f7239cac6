// What the population window charts: plain data the logic hands to the desktop.
//
// Every series is already reduced to a point per two pixel columns of the chart's
// plot area (Desktop::populationPlotWidth), oldest first, with the smallest and the
// largest value of the ticks the point stands for: drawn as a stroke between the
// two, that is about one drawn point per pixel column.  The desktop draws what it is
// given, so its cost does not grow with the length of the run.
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
};

struct PopulationChart {
    std::string title;  // the window's title
    // Per kind (0 blue, 1 red): living creatures, and strains (distinct colours).
    std::array<std::vector<ChartPoint>, 2> creatures;
    std::array<std::vector<ChartPoint>, 2> strains;
    std::vector<ChartPoint> nutrient;  // units of nutrient on the plate
};

}  // namespace vivarix
