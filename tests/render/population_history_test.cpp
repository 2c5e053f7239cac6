// The population history keeps whole runs in bounded memory without losing a boom
// or a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>

#include "render/population_csv.h"
#include "render/population_history.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {

Range overall(std::span<const PopulationSample> samples, std::size_t series) {
    Range r{INT64_MAX, INT64_MIN};
    for (const PopulationSample& s : samples) {
        r.min = std::min(r.min, s.series[series].min);
        r.max = std::max(r.max, s.series[series].max);
    }
    return r;
}

TEST(PopulationHistory, MergingKeepsTheBoundAndEveryExtreme) {
    test::TinyPlate plate;
    auto room = std::make_unique<PopulationHistory>();
    PopulationHistory& history = *room;
    std::uint64_t tick = 0;
    for (std::uint64_t frame = 0; frame < 20000; ++frame) {
        // Four ticks a frame; one tick of the whole run crashes kind 1 to 0 and one
        // booms kind 0, in the middle of frames.
        for (int t = 0; t < 4; ++t, ++tick) {
            const std::int32_t k0 = tick == 51234 ? 9000 : 100 + static_cast<std::int32_t>(tick % 50);
            const std::int32_t k1 = tick == 70001 ? 0 : 500;
            noteTick(history, {k0, k1, 0});
        }
        sampleFrame(history, plate.state, tick);
        sampleFrame(history, plate.state, tick);  // a frame that ran no tick adds nothing
        ASSERT_LE(history.count, PopulationHistory::capacity);
    }
    const std::span<const PopulationSample> samples = historySamples(history);
    EXPECT_GT(samples.size(), PopulationHistory::capacity / 2);
    EXPECT_EQ(samples.front().firstTick, 4u);
    EXPECT_EQ(samples.back().lastTick, tick);
    for (std::size_t i = 1; i < samples.size(); ++i) ASSERT_LT(samples[i - 1].lastTick, samples[i].firstTick);
    EXPECT_EQ(overall(samples, kind0Count).max, 9000);
    EXPECT_EQ(overall(samples, kind0Count).min, 100);
    EXPECT_EQ(overall(samples, kind1Count).min, 0);
    // The last value is the count after the last tick, however many samples merged.
    EXPECT_EQ(samples.back().series[kind0Count].last, 100 + static_cast<std::int64_t>((tick - 1) % 50));

    const std::vector<PopulationSample> columns = historyColumns(history, 640);
    EXPECT_LE(columns.size(), 640u);
    EXPECT_GE(columns.size(), 600u);
    EXPECT_EQ(overall(columns, kind0Count).max, 9000);
    EXPECT_EQ(overall(columns, kind1Count).min, 0);

    // A range: only its samples, in at most `columns` spans, with one neighbour on
    // each side; a boom inside is kept, one outside is not merged in.
    const std::vector<PopulationSample> zoomed = historyColumns(history, 100, 50000, 52000);
    ASSERT_GE(zoomed.size(), 50u);
    EXPECT_LE(zoomed.size(), 102u);
    EXPECT_LT(zoomed.front().lastTick, 50000u);
    EXPECT_GT(zoomed.back().firstTick, 52000u);
    for (std::size_t i = 1; i + 1 < zoomed.size(); ++i) {
        EXPECT_LE(zoomed[i].firstTick, 52000u);
        EXPECT_GE(zoomed[i].lastTick, 50000u);
    }
    EXPECT_EQ(overall(zoomed, kind0Count).max, 9000);
    EXPECT_EQ(overall(historyColumns(history, 100, 60000, 80000), kind0Count).max, 149);

    clearHistory(history);
    EXPECT_TRUE(historySamples(history).empty());
}

// The saved table is every kept sample, as kept: the value after its last tick,
// then its first tick and each series' extremes.
TEST(PopulationHistory, TheTableHoldsEverySampleAsKept) {
    auto room = std::make_unique<PopulationHistory>();
    PopulationHistory& history = *room;
    history.store[0] = {1, 1, {{{3, 3, 3}, {2, 2, 2}, {400, 400, 400}, {1, 1, 1}, {2, 2, 2}}}};
    history.store[1] = {2, 9, {{{0, 7, 5}, {1, 4, 4}, {380, 401, 380}, {0, 3, 2}, {1, 2, 1}}}};
    history.count = 2;
    EXPECT_EQ(historyCsv(history),
              "tick,blue,red,nutrient,blue_strains,red_strains,first_tick,blue_min,blue_max,red_min,red_max,"
              "nutrient_min,nutrient_max,blue_strains_min,blue_strains_max,red_strains_min,red_strains_max\n"
              "1,3,2,400,1,2,1,3,3,2,2,400,400,1,1,2,2\n"
              "9,5,4,380,2,1,2,0,7,1,4,380,401,0,3,1,2\n");
}

TEST(PopulationHistory, StrainsAreTheDistinctColoursOfEachKind) {
    test::TinyPlate plate;
    for (const auto& [kind, colour] : {std::pair{0, 117 << 16}, {0, 117 << 16}, {0, 3 << 16}, {1, 117}, {1, 0}}) {
        Creature c = test::creatureAt(10, 10, static_cast<std::int16_t>(kind));
        c.colour = colour;
        test::pushCreature(plate.state, c);
    }
    EXPECT_EQ(strainsPerKind(plate.state.creatureList), (std::array<std::int32_t, 2>{2, 2}));
}

}  // namespace
}  // namespace vivarix
