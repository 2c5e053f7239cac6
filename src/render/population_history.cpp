#include "render/population_history.h"

#include <algorithm>
#include <bitset>

namespace vivarix {

namespace {

void widen(Range& range, std::int64_t value) {
    range.min = std::min(range.min, value);
    range.max = std::max(range.max, value);
}

// `other` covers ticks after those of `into`.
void merge(PopulationSample& into, const PopulationSample& other) {
    into.lastTick = other.lastTick;
    for (std::size_t s = 0; s < seriesCount; ++s) {
        widen(into.series[s], other.series[s].min);
        widen(into.series[s], other.series[s].max);
        into.series[s].last = other.series[s].last;
    }
}

// Halves the samples by merging neighbours; the last sample stays open for the
// frames of the doubled span only if it is a merged pair.
void mergeNeighbours(PopulationHistory& h) {
    std::array<PopulationSample, PopulationHistory::capacity>& s = h.store;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < h.count; i += 2) {
        PopulationSample pair = s[i];
        if (i + 1 < h.count) merge(pair, s[i + 1]);
        s[kept++] = pair;
    }
    const bool lastIsSingle = h.count % 2 == 1;
    h.count = kept;
    h.framesPerSample *= 2;
    h.pendingFrames = lastIsSingle ? h.framesPerSample / 2 : h.framesPerSample;
}

}  // namespace

std::span<const PopulationSample> historySamples(const PopulationHistory& history) {
    return {history.store.data(), history.count};
}

std::span<PopulationSample> historySamples(PopulationHistory& history) { return {history.store.data(), history.count}; }

void clearHistory(PopulationHistory& history) {
    // Field by field: a fresh record would be a copy of the whole room.
    history.count = 0;
    history.framesPerSample = 1;
    history.pendingFrames = 0;
    history.frameCounts = {};
    history.frameStarted = false;
}

void noteTick(PopulationHistory& history, const std::array<std::int32_t, 3>& kindCount) {
    for (std::size_t k = 0; k < 2; ++k) {
        if (history.frameStarted) {
            widen(history.frameCounts[k], kindCount[k]);
            history.frameCounts[k].last = kindCount[k];
        } else {
            history.frameCounts[k] = {kindCount[k], kindCount[k], kindCount[k]};
        }
    }
    history.frameStarted = true;
}

std::array<std::int32_t, 2> strainsPerKind(const CreatureList& creatures) {
    // A colour is V * 65536 (kind 0) or V (kind 1) with V in 0..254: one bit per V.
    std::array<std::bitset<256>, 2> seen;
    for (const Creature* c = creatures.front(); c; c = CreatureList::after(c)) {
        const auto colour = static_cast<std::uint32_t>(c->colour);
        seen[c->kind == 0 ? 0 : 1].set((colour | colour >> 16) & 0xFF);
    }
    return {static_cast<std::int32_t>(seen[0].count()), static_cast<std::int32_t>(seen[1].count())};
}

void sampleFrame(PopulationHistory& history, const SimState& state, std::uint64_t tick) {
    if (!history.frameStarted) return;
    history.frameStarted = false;
    PopulationSample sample;
    sample.firstTick = sample.lastTick = tick;
    sample.series[kind0Count] = history.frameCounts[0];
    sample.series[kind1Count] = history.frameCounts[1];
    const std::int64_t nutrient = nutrientTotal(state.plateGrid);
    sample.series[nutrientSeries] = {nutrient, nutrient, nutrient};
    const std::array<std::int32_t, 2> strains = strainsPerKind(state.creatureList);
    sample.series[kind0Strains] = {strains[0], strains[0], strains[0]};
    sample.series[kind1Strains] = {strains[1], strains[1], strains[1]};

    if (history.pendingFrames > 0 && history.pendingFrames < history.framesPerSample) {
        merge(history.store[history.count - 1], sample);
        ++history.pendingFrames;
        return;
    }
    if (history.count == PopulationHistory::capacity) {
        mergeNeighbours(history);
        if (history.pendingFrames < history.framesPerSample) {
            merge(history.store[history.count - 1], sample);
            ++history.pendingFrames;
            return;
        }
    }
    history.store[history.count++] = sample;
    history.pendingFrames = 1;
}

std::vector<PopulationSample> historyColumns(const PopulationHistory& history, std::size_t columns,
                                             std::uint64_t first, std::uint64_t last) {
    std::vector<PopulationSample> result;
    const std::span<const PopulationSample> all = historySamples(history);
    // The samples are in tick order and do not overlap: [from, to) meet the range.
    const auto from = std::partition_point(all.begin(), all.end(),
                                           [first](const PopulationSample& s) { return s.lastTick < first; });
    const auto to = std::partition_point(from, all.end(),
                                         [last](const PopulationSample& s) { return s.firstTick <= last; });
    if (from == to || columns == 0) return result;
    if (from != all.begin()) result.push_back(*std::prev(from));
    const std::uint64_t start = std::max(first, from->firstTick);
    const std::uint64_t span = std::min(last, std::prev(to)->lastTick) - start + 1;
    std::size_t column = SIZE_MAX;
    for (auto s = from; s != to; ++s) {
        const std::uint64_t at = std::min(std::max(s->lastTick, start), start + span - 1);
        const auto c = static_cast<std::size_t>((at - start) * columns / span);
        if (c == column)
            merge(result.back(), *s);
        else
            result.push_back(*s);
        column = c;
    }
    if (to != all.end()) result.push_back(*to);
    return result;
}

}  // namespace vivarix
