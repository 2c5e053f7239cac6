// The population over the ticks of the current plate, for the population chart:
// creatures per kind, nutrient on the plate and strains (distinct creature colours)
// per kind, in bounded memory however long the run.
//
// One sample is taken per drawn frame.  It covers the ticks the frame ran, with the
// minimum and maximum of each kind's count over those ticks (a fast-forwarded frame
// hides no crash) and its count after the last of them, and the nutrient and
// strains at the frame's tick.  At most `capacity` samples are kept: when full,
// neighbouring samples are merged in pairs, keeping each merged span's minimum,
// maximum and last value, and later frames are gathered into samples of the
// doubled span, so that the whole run keeps an even resolution.  The room for
// `capacity` samples is part of the record, so that sampling, growing and merging
// never allocate: a pass cannot run out of memory for the history.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "render/render_state.h"

namespace vivarix {

// A value over the ticks of a sample.
struct Range {
    std::int64_t min = 0;
    std::int64_t max = 0;
    std::int64_t last = 0;  // the value after the sample's last tick
};

// The series of the chart, in this order.
enum PopulationSeries : std::size_t { kind0Count, kind1Count, nutrientSeries, kind0Strains, kind1Strains, seriesCount };

struct PopulationSample {
    std::uint64_t firstTick = 0;  // the plate's ticks the sample covers, both ends included
    std::uint64_t lastTick = 0;
    std::array<Range, seriesCount> series{};
};

struct PopulationHistory {
    static constexpr std::size_t capacity = 4096;
    std::array<PopulationSample, capacity> store{};  // the samples: store[0 .. count), oldest first
    std::size_t count = 0;
    std::uint32_t framesPerSample = 1;      // doubles at every merge
    std::uint32_t pendingFrames = 0;        // frames gathered into the last sample so far
    // The counts of the frame being run: minimum and maximum after each of its ticks.
    std::array<Range, 2> frameCounts{};
    bool frameStarted = false;
};

// The samples kept, oldest first.
std::span<const PopulationSample> historySamples(const PopulationHistory& history);
std::span<PopulationSample> historySamples(PopulationHistory& history);

// Forgets everything: a new plate starts a new history.
void clearHistory(PopulationHistory& history);

// After each tick: takes the kinds' counts into the frame's minimum and maximum.
void noteTick(PopulationHistory& history, const std::array<std::int32_t, 3>& kindCount);

// Once per drawn frame, at the plate's tick `tick`: adds the frame's sample (counts
// over its ticks, nutrient and strains now).  A frame that ran no tick adds nothing.
void sampleFrame(PopulationHistory& history, const SimState& state, std::uint64_t tick);

// The distinct creature colours of each kind among the living creatures.
std::array<std::int32_t, 2> strainsPerKind(const CreatureList& creatures);

// The samples that cover any of the ticks `first` to `last` (both included),
// merged into at most `columns` spans of equal ticks over the part of the history
// they cover (one per pixel column of a chart), each with the minimum and maximum
// of what it covers and the last value; empty spans are left out.  Unless the
// range takes in the whole history, the kept samples just before and just after
// it follow unmerged, so that a chart of the range has lines to its edges.
std::vector<PopulationSample> historyColumns(const PopulationHistory& history, std::size_t columns,
                                             std::uint64_t first = 0, std::uint64_t last = UINT64_MAX);

}  // namespace vivarix
