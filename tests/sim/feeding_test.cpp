// The three nutrient sources: manual feeding around the pointer, automatic feeding
// over the whole plate and the centre source; their draws, caps, repaint queue and
// failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "session/control_table.h"
#include "sim/feeding.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {

class Feeding : public ::testing::Test {
protected:
    void SetUp() override { test::fillPlate(state, 0); }

    // "M. Size:" at 2 (spread 8, offsets -4..+4) and "M. NpF:" at 5 (10 grains:
    // 90 attempts), pointer at (x, y), right button held.
    void smallBrush(std::int32_t x, std::int32_t y) {
        state.manualFeeding = test::feedingAt(x, y, 2, 5);
    }

    // Scripts the 90 attempts of the small brush: the given (x draw, y draw) pairs
    // first, then every remaining attempt at offset (0, 0).
    void scriptBrush(std::vector<std::pair<std::int32_t, std::int32_t>> first) {
        std::vector<std::int32_t> draws;
        for (const auto& [dx, dy] : first) {
            draws.push_back(dx);
            draws.push_back(dy);
        }
        while (draws.size() < 180) draws.push_back(4);
        scriptDraws(state.random, std::move(draws));
    }

    std::uint64_t drawsSince(std::uint64_t before) const { return state.random.draws - before; }

    test::TinyPlate plate;
    SimState& state = plate.state;
};

void expectParticle(const NutriumParticle& p, std::int32_t x, std::int32_t y, std::int32_t level) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.level, level);
}

// --- manual feeding ----------------------------------------------------------------

TEST_F(Feeding, ManualFeedingDrawsXThenYForNineTimesNAttempts) {
    smallBrush(200, 200);
    scriptBrush({{8, 0}, {0, 8}});
    feedByMouse(state);
    EXPECT_EQ(scriptedDrawsLeft(state.random), 0u);
    EXPECT_EQ(state.random.draws, 180u);

    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 90u);
    expectParticle(queued[0], 204, 196, 1);  // x offset +4, then y offset -4
    expectParticle(queued[1], 196, 204, 1);
    // The other 88 land on the pointer cell: 1, 2, 3, 4, 5 and then 5 again.
    for (std::int32_t i = 0; i < 88; ++i) expectParticle(queued[static_cast<std::size_t>(i) + 2], 200, 200, std::min(i + 1, 5));
    EXPECT_EQ(test::cell(state, 204, 196), 1);
    EXPECT_EQ(test::cell(state, 196, 204), 1);
    EXPECT_EQ(test::cell(state, 200, 200), 5);
    EXPECT_EQ(test::cell(state, 196, 196), 0);
    EXPECT_EQ(test::cell(state, 204, 204), 0);
}

TEST_F(Feeding, ManualFeedingAtTheDefaultsScattersWithinTwentyFourCells) {
    state.manualFeeding = test::feedingAt(230, 230);
    feedByMouse(state);
    EXPECT_EQ(state.random.draws, 900u);  // 450 attempts, two draws each
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 450u);  // all of them on the plate
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> hits;
    std::int32_t minDx = 0, maxDx = 0, minDy = 0, maxDy = 0;
    for (const NutriumParticle& p : queued) {
        const std::int32_t dx = p.x - 230;
        const std::int32_t dy = p.y - 230;
        minDx = std::min(minDx, dx);
        maxDx = std::max(maxDx, dx);
        minDy = std::min(minDy, dy);
        maxDy = std::max(maxDy, dy);
        const std::int32_t n = ++hits[{p.x, p.y}];
        ASSERT_EQ(p.level, std::min(n, 5)) << "the n-th unit of a cell is queued with min(n, 5)";
    }
    EXPECT_GE(minDx, -24);
    EXPECT_LE(maxDx, 24);
    EXPECT_GE(minDy, -24);
    EXPECT_LE(maxDy, 24);
    // 450 uniform draws over 49 values reach both ends.
    EXPECT_EQ(minDx, -24);
    EXPECT_EQ(maxDx, 24);
    for (const auto& [where, n] : hits) EXPECT_EQ(test::cell(state, where.first, where.second), std::min(n, 5));
}

TEST_F(Feeding, ManualFeedingNeedsTheButtonHeld) {
    smallBrush(200, 200);
    state.manualFeeding.active = 0;
    feedByMouse(state);
    EXPECT_EQ(state.random.draws, 0u);
    EXPECT_TRUE(state.nutriumList.empty());
    EXPECT_EQ(test::cell(state, 200, 200), 0);
}

TEST_F(Feeding, ManualFeedingNeedsThePointerLeftOfThePlateWidth) {
    // Make column 460 and the margin look like plate so that only the column test
    // can refuse.
    for (std::int32_t y = 0; y <= 460; ++y) test::setCell(state, 460, y, 0);
    for (std::int32_t x : {460, 470, 1000}) {
        SCOPED_TRACE(testing::Message() << "mouseX " << x);
        smallBrush(x, 200);
        feedByMouse(state);
        EXPECT_EQ(state.random.draws, 0u);
        EXPECT_TRUE(state.nutriumList.empty());
    }
    smallBrush(459, 200);
    scriptBrush({});
    feedByMouse(state);
    EXPECT_EQ(state.random.draws, 180u);
    EXPECT_FALSE(state.nutriumList.empty());
}

TEST_F(Feeding, ManualFeedingNeedsThePointerOnAPlateCell) {
    // The pointer beside the plate, within reach of plate cells: nothing at all.
    test::setCell(state, 200, 200, -1);
    smallBrush(200, 200);
    feedByMouse(state);
    EXPECT_EQ(state.random.draws, 0u);
    EXPECT_TRUE(state.nutriumList.empty());
    EXPECT_EQ(test::cell(state, 201, 200), 0);
}

TEST_F(Feeding, ManualAttemptsOffThePlateAreSkippedAndNotRepeated) {
    // Pointer at (458, 200): x offsets +2 hit column 460 (-1), +3 and +4 the
    // margin beyond the plate (columns 461, 462: 0 in the grid, but not plate).
    smallBrush(458, 200);
    scriptBrush({{6, 4}, {7, 4}, {8, 4}, {5, 4}});
    feedByMouse(state);
    EXPECT_EQ(state.random.draws, 180u);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 87u);
    expectParticle(queued[0], 459, 200, 1);
    expectParticle(queued[1], 458, 200, 1);
    EXPECT_EQ(test::cell(state, 460, 200), -1);
    EXPECT_EQ(test::cell(state, 461, 200), 0);
    EXPECT_EQ(test::cell(state, 462, 200), 0);
}

TEST_F(Feeding, ManualAttemptsBeyondTheBottomRowAndLeftEdgeAreSkipped) {
    smallBrush(200, 458);
    scriptBrush({{4, 8}, {4, 7}});  // rows 462 and 461: margin
    feedByMouse(state);
    EXPECT_EQ(test::particles(state.nutriumList).size(), 88u);
    EXPECT_EQ(test::cell(state, 200, 462), 0);
    EXPECT_EQ(test::cell(state, 200, 461), 0);

    clearList(state.nutriumList);
    smallBrush(2, 200);
    scriptBrush({{0, 4}, {1, 4}});  // columns -2 and -1
    feedByMouse(state);
    EXPECT_EQ(test::particles(state.nutriumList).size(), 88u);
}

TEST_F(Feeding, ManualFeedingSetsALevelAboveFiveBackToFive) {
    test::setCell(state, 200, 200, 7);
    smallBrush(200, 200);
    scriptBrush({});
    feedByMouse(state);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 90u);
    for (const NutriumParticle& p : queued) expectParticle(p, 200, 200, 5);
    EXPECT_EQ(test::cell(state, 200, 200), 5);
}

TEST_F(Feeding, CappedRaiseOfTheHighestLevelGivesFive) {
    test::setCell(state, 200, 200, 32767);
    smallBrush(200, 200);
    scriptBrush({});
    feedByMouse(state);
    EXPECT_EQ(test::cell(state, 200, 200), 5);
    EXPECT_EQ(state.nutriumList.front()->level, 5);
}

TEST_F(Feeding, ManualFeedingFailedAppendLeavesTheCellAndGoesOn) {
    smallBrush(200, 200);
    scriptBrush({{8, 0}});
    {
        test::FailAllocation failFirst(1, state.nutriumList);
        feedByMouse(state);
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
    EXPECT_EQ(test::cell(state, 204, 196), 0);
    EXPECT_EQ(state.nutriumList.size(), 89u);
    EXPECT_EQ(test::cell(state, 200, 200), 5);
    EXPECT_EQ(state.random.draws, 180u);
}

// --- automatic feeding -------------------------------------------------------------

TEST_F(Feeding, AutomaticFeedingDrawsXThenYAndRaisesWithoutTheCapOfFive) {
    test::setCell(state, 20, 10, 7);
    test::setCell(state, 100, 100, 32767);
    state.autoFeedAmount = 6;
    scriptDraws(state.random, {10, 20,     // bare plate -> 1
                               20, 10,     // 7 -> 8
                               0, 0,       // -1: skipped
                               460, 460,   // -1: skipped
                               100, 100,   // stays at the top of the range
                               10, 20});   // 1 -> 2
    feedAutomatically(state);
    EXPECT_EQ(scriptedDrawsLeft(state.random), 0u);
    EXPECT_EQ(state.random.draws, 12u);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 4u);
    expectParticle(queued[0], 10, 20, 1);
    expectParticle(queued[1], 20, 10, 8);
    expectParticle(queued[2], 100, 100, 32767);
    expectParticle(queued[3], 10, 20, 2);
    EXPECT_EQ(test::cell(state, 10, 20), 2);
    EXPECT_EQ(test::cell(state, 20, 10), 8);
    EXPECT_EQ(test::cell(state, 100, 100), 32767);
    EXPECT_EQ(test::cell(state, 0, 0), -1);
    EXPECT_EQ(test::cell(state, 460, 460), -1);
}

TEST_F(Feeding, AutomaticFeedingDrawsOverTheWholeRangeOfThePlate) {
    state.autoFeedAmount = 320;
    feedAutomatically(state);
    EXPECT_EQ(state.random.draws, 640u);
    // fillPlate leaves only row and column 0 and 460 off the plate: almost every
    // attempt lands.
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    EXPECT_GT(queued.size(), 300u);
    EXPECT_LE(queued.size(), 320u);
    for (const NutriumParticle& p : queued) {
        ASSERT_GE(p.x, 1);
        ASSERT_LE(p.x, 459);
        ASSERT_GE(p.y, 1);
        ASSERT_LE(p.y, 459);
        ASSERT_GE(p.level, 1);
    }
}

TEST_F(Feeding, AutomaticFeedingAtZeroDoesNothing) {
    state.autoFeedAmount = 0;
    feedAutomatically(state);
    EXPECT_EQ(state.random.draws, 0u);
    EXPECT_TRUE(state.nutriumList.empty());
}

TEST_F(Feeding, AutomaticFeedingFailedAppendKeepsTheRaisedCell) {
    state.autoFeedAmount = 2;
    scriptDraws(state.random, {10, 20, 30, 40});
    {
        test::FailAllocation failFirst(1, state.nutriumList);
        feedAutomatically(state);
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
    EXPECT_EQ(test::cell(state, 10, 20), 1);
    EXPECT_EQ(test::cell(state, 30, 40), 1);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 1u);
    expectParticle(queued[0], 30, 40, 1);
}

// --- the centre source ---------------------------------------------------------------

TEST_F(Feeding, CentreSourceFeedsTheElevenByElevenBlockColumnByColumn) {
    // An empty plate without a creature: the centre is fed all the same.
    ASSERT_TRUE(state.creatureList.empty());
    feedCentre(state);
    EXPECT_EQ(state.random.draws, 0u);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 121u);
    std::size_t i = 0;
    for (std::int32_t x = 225; x <= 235; ++x)
        for (std::int32_t y = 225; y <= 235; ++y) expectParticle(queued[i++], x, y, 1);
    for (std::int32_t x = 223; x <= 237; ++x)
        for (std::int32_t y = 223; y <= 237; ++y) {
            const bool inBlock = x >= 225 && x <= 235 && y >= 225 && y <= 235;
            EXPECT_EQ(test::cell(state, x, y), inBlock ? 1 : 0) << x << ", " << y;
        }
}

TEST_F(Feeding, CentreSourceReachesFiveAndKeepsQueueingIt) {
    for (int pass = 1; pass <= 7; ++pass) {
        clearList(state.nutriumList);
        feedCentre(state);
        const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
        ASSERT_EQ(queued.size(), 121u);
        EXPECT_EQ(queued.front().level, std::min(pass, 5));
        EXPECT_EQ(queued.back().level, std::min(pass, 5));
    }
    EXPECT_EQ(test::cell(state, 230, 230), 5);
}

TEST_F(Feeding, CentreSourceCapsHighCellsAndSkipsOffPlateCells) {
    test::setCell(state, 225, 225, 7);
    test::setCell(state, 226, 225, 32767);
    test::setCell(state, 230, 230, -1);
    feedCentre(state);
    EXPECT_EQ(test::cell(state, 225, 225), 5);
    EXPECT_EQ(test::cell(state, 226, 225), 5);
    EXPECT_EQ(test::cell(state, 230, 230), -1);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 120u);
    expectParticle(queued[0], 225, 225, 5);
    for (const NutriumParticle& p : queued) EXPECT_FALSE(p.x == 230 && p.y == 230);
}

TEST_F(Feeding, CentreSourceFailedAppendLeavesThatCell) {
    {
        test::FailAllocation failThird(3, state.nutriumList);
        feedCentre(state);
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(test::cell(state, 225, 226), 1);
    EXPECT_EQ(test::cell(state, 225, 227), 0);
    EXPECT_EQ(test::cell(state, 225, 228), 1);
    EXPECT_EQ(state.nutriumList.size(), 120u);
}

TEST_F(Feeding, SourcesOfATickAppendInTurn) {
    smallBrush(300, 300);
    scriptBrush({});
    state.autoFeedAmount = 1;
    scriptDraws(state.random, {50, 60});
    feedByMouse(state);
    feedAutomatically(state);
    feedCentre(state);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 90u + 1u + 121u);
    expectParticle(queued[0], 300, 300, 1);
    expectParticle(queued[89], 300, 300, 5);
    expectParticle(queued[90], 50, 60, 1);
    expectParticle(queued[91], 225, 225, 1);
    EXPECT_EQ(state.nutriumList.current(), state.nutriumList.back());
}

}  // namespace
}  // namespace vivarix
