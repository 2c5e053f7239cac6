// Gathering a sweep: the runs' CSV into DIR/runs.csv, and per parameter set and
// tick the spread of the runs into DIR/summary.csv.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sweep_plan.h"

namespace vivarix::sweep {

// Where run `run` (0-based) leaves its standard output; standard error goes to the
// same name with ".err" added.
std::string runOutputPath(const Plan& plan, std::size_t run);

// The spread of one measure over the runs of a parameter set at one tick.
// Percentiles interpolate linearly between the two nearest ranks of the sorted
// values, the lowest value being the 0th percentile and the highest the 100th.
struct Spread {
    double mean = 0;
    std::int64_t min = 0;
    double p10 = 0;
    double median = 0;
    double p90 = 0;
    std::int64_t max = 0;
};

// The measures summarised, as the lab's CSV names them.
inline constexpr std::array<const char*, 4> measures = {"kind0", "kind1", "strains0", "strains1"};

struct SummaryRow {
    std::size_t combination = 0;
    std::uint64_t tick = 0;
    std::size_t runs = 0;
    std::array<Spread, measures.size()> spread;  // in the order of `measures`
};

// The spread of `values` (not empty); sorts them.
Spread spreadOf(std::vector<std::int64_t>& values);

// Decimal text of a summary figure: at most three decimals, no trailing zeros.
std::string figure(double value);

struct Gathered {
    std::vector<SummaryRow> summary;   // by combination, then by tick
    std::vector<std::string> refused;  // one line per finished run whose output is not the lab's CSV
    std::vector<bool> gathered;        // per run: its lines are in runs.csv
    std::string error;                 // a file of the sweep could not be written
};

// Reads the output of every run marked in `finished` and writes DIR/runs.csv
// (one row per run and tick: the swept values, the seed, then the lab's columns)
// and DIR/summary.csv (one row per parameter set and tick: the swept values, the
// tick, the runs, then mean, min, p10, median, p90 and max of every measure).
Gathered gather(const Plan& plan, const std::vector<bool>& finished);

}  // namespace vivarix::sweep
