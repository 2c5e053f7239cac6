// The sweep's picture: per parameter set, the median of each kind's creatures with
// the band from the 10th to the 90th percentile of the runs, drawn by gnuplot.
#pragma once

#include <string>
#include <vector>

#include "sweep_gather.h"
#include "sweep_plan.h"

namespace vivarix::sweep {

// The gnuplot script that draws `summary` into `png`: one panel per parameter set
// with rows of data, titled with its swept values, all on the same scales.  The
// data are part of the script, so that it can be run again and edited.
std::string plotScript(const Plan& plan, const std::vector<SummaryRow>& summary, const std::string& png);

// Writes DIR/population.gp and runs gnuplot on it to draw DIR/population.png.
// Returns an empty string, or one line saying what went wrong.
std::string drawPopulation(const Plan& plan, const std::vector<SummaryRow>& summary);

}  // namespace vivarix::sweep
