// The sweep's pictures, drawn by gnuplot from the summary: per parameter set,
//   population.png  the median of each kind's creatures, with the band from the
//                   10th to the 90th percentile of the runs;
//   strains.png     the same for each kind's strains (distinct colours), with the
//                   mean share of its most common strain on the right axis;
//   genes.png       the mean of each gene per kind, one panel per gene.
// Each has its script beside it (population.gp ...), which holds its data and
// writes only its picture, in the folder it is run in.
#pragma once

#include <string>
#include <vector>

#include "sweep_gather.h"
#include "sweep_plan.h"

namespace vivarix::sweep {

enum class Figure { population, strains, genes };

// "population", "strains" or "genes": the names of the figure's script and picture.
const char* figureName(Figure figure);

// The gnuplot script of `figure`: one panel per parameter set with rows of data
// (per gene too for the genes), titled with its swept values, all on the same
// scales, and one legend.  The counts' axis is logarithmic with plan.log.
std::string plotScript(const Plan& plan, const std::vector<SummaryRow>& summary, Figure figure);

// Writes the three scripts into the sweep's folder and runs gnuplot on each
// there.  Returns an empty string, or one line saying what went wrong.
std::string drawFigures(const Plan& plan, const std::vector<SummaryRow>& summary);

}  // namespace vivarix::sweep
