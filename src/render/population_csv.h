// The population history as a CSV table, one line per kept sample, oldest first,
// for spreadsheets and plotting tools:
//
//   tick,blue,red,nutrient,blue_strains,red_strains,first_tick,blue_min,blue_max,...
//
// `tick` is the sample's last tick and the next five columns the values after it:
// the living creatures of each kind, the nutrient on the plate, the strains of each
// kind.  `first_tick` is the sample's first tick, and the last ten columns are the
// smallest and largest value of each of the five over the sample's ticks, in the
// same order.  A sample of one tick has min = max = its value; merged samples cover
// more.  Lines end with "\n".
#pragma once

#include <string>

#include "render/population_history.h"

namespace vivarix {

std::string historyCsv(const PopulationHistory& history);

}  // namespace vivarix
