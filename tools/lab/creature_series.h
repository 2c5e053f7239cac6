// --creatures-every K FILE: every creature's fields over time, as CSV.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "lab_options.h"
#include "sim/records.h"

namespace vivarix::lab {

// The header: "tick" and the 20 fields in the order of --dump-creatures.
std::string creatureSeriesHeader();

// The file of one run.  Inactive until started with the option given; then it
// writes the header, and a row per creature (the tick, then the fields exactly as
// --dump-creatures writes them, commas between) at the same ticks as --every K:
// after every K-th pass and after the last when that is not one of them.
class CreatureSeries {
public:
    // Opens (truncates) the file when options.creaturesFile is set.
    void start(const Options& options);
    // After `tick` of a run of `passes` passes.
    void after(std::uint64_t tick, std::uint64_t passes, const CreatureList& list);
    // The file, when something could not be written to it; empty otherwise.
    const std::string& failedFile() const { return failed_; }

private:
    std::ofstream file_;
    std::string path_;
    std::uint64_t every_ = 0;  // 0: inactive
    std::string failed_;
};

}  // namespace vivarix::lab
