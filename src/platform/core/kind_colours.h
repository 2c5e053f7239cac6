// The colours of the two kinds in every chart and plot: the population window, the
// pictures vivarix-sweep draws and scripts/plot-population, which reads them from
// this file (keep the line's form).
#pragma once

namespace vivarix {

// "#rrggbb", as Qt and gnuplot read them: kind 0 blue, kind 1 red.
inline constexpr const char* kindChartColour[2] = {"#1e3cdc", "#dc2828"};

}  // namespace vivarix
