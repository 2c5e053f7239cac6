// Gathering a sweep: the runs' CSV into DIR/runs.csv, per parameter set and tick
// the spread of the runs into DIR/summary.csv, and with --creatures-every the
// runs' creatures into DIR/creatures.csv.gz.
//
// Fractions are written with at most three decimals, rounded half up (a value
// exactly halfway goes up), as vivarix-lab rounds its gene means, and computed
// exactly in integers, so that no binary fraction decides a tie.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sweep_plan.h"
#include "sweep_record.h"

namespace vivarix::sweep {

// The spread of one count over the runs of a parameter set at one tick.
// Percentiles interpolate linearly between the two nearest ranks of the sorted
// values, the lowest value being the 0th percentile and the highest the 100th;
// with ranks at tenths they are exact in tenths.
struct Spread {
    std::int64_t meanThousandths = 0;  // rounded half up
    std::int64_t min = 0;
    std::int64_t p10Tenths = 0;
    std::int64_t medianTenths = 0;
    std::int64_t p90Tenths = 0;
    std::int64_t max = 0;
};

// The counts summarised, as the lab's CSV names them.
inline constexpr std::array<const char*, 4> measures = {"kind0", "kind1", "strains0", "strains1"};

// The means summarised, per kind K: the gene means geneK_0..geneK_5 of the
// lab's CSV, then topShareK, the share of the kind's creatures that have its most
// common colour (topCountK / kindK).  Each is the mean over the runs in which the
// kind has creatures of the run's value in thousandths (the lab's gene means, the
// share rounded half up).
inline constexpr std::size_t kindMeans = 7;
inline constexpr std::size_t meanCount = 2 * kindMeans;
// The summary column of mean `m`: gene0_0_mean .. gene0_5_mean, topShare0_mean,
// then the same for kind 1.
std::string meanColumn(std::size_t m);

// A mean over runs; none when no run had a value.
struct Mean {
    std::int64_t thousandths = 0;
    bool any = false;
};

struct SummaryRow {
    std::size_t combination = 0;
    std::uint64_t tick = 0;
    std::size_t runs = 0;
    std::array<Spread, measures.size()> spread{};  // in the order of `measures`
    std::array<Mean, meanCount> means{};
};

// The spread of `values` (not empty); sorts them.
Spread spreadOf(std::vector<std::int64_t>& values);

// Thousandths or tenths as a summary writes them: "12.5", "3", "0.667".
std::string figure(std::int64_t thousandths);
inline std::string tenthsFigure(std::int64_t tenths) { return figure(tenths * 100); }

struct Gathered {
    std::vector<SummaryRow> summary;   // by combination, then by tick
    std::vector<std::string> refused;  // one line per finished run whose output is not the lab's
    std::vector<bool> gathered;        // per run of the plan: its lines are in runs.csv
    std::string error;                 // a file of the sweep could not be written
};

// Reads the output of every run of the plan whose folder number is marked in
// `finished` (by number - 1) and writes DIR/runs.csv (one row per run and tick:
// the swept values, the seed, then the lab's columns), DIR/summary.csv (one row
// per parameter set and tick: the swept values, the tick, the runs, then mean,
// min, p10, median, p90 and max of every count, then the means) and, with
// --creatures-every, DIR/creatures.csv.gz (the swept values, the seed, then the
// lab's creature rows).  Rows follow the plan's order of runs.
Gathered gather(const Plan& plan, const Folder& folder, const std::vector<bool>& finished);

}  // namespace vivarix::sweep
