// Plate set-up from the plate picture, and placing a creature with the mouse.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/core/colour.h"
#include "platform/core/graphics.h"
#include "render/plate_view.h"
#include "session/control_table.h"
#include "session/input.h"
#include "sim/creature_step.h"
#include "sim/plate_setup.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {


// The plate picture as plate preparation draws it: black, with the plateColour disc of
// radius 220 about (230, 230), left open for drawing.
class PlateLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(createImage(graphics, plateImage, 460, 460), 0);
        startDrawing(graphics, imageOutput(plateImage));
        drawCircle(graphics, 230, 230, 220, plateColour);
    }
    void TearDown() override { stopDrawing(graphics); }


    bool greyAt(std::int32_t x, std::int32_t y) const { return readPixel(graphics, x, y) == plateColour; }

    test::TinyPlate plate;
    SimState& state = plate.state;
    Graphics& graphics = plate.state.graphics;
};

TEST_F(PlateLayout, RandomPlateDrawsOneLevelPerPlateCellInScanOrder) {
    Random replay = state.random;  // the same stream, to predict every level
    layOutPlateGrid(state, true);

    std::vector<NutriumParticle> expectedQueue;
    std::int64_t plateCells = 0;
    std::array<std::int64_t, 5> perLevel{};
    for (std::int32_t x = 0; x <= 460; ++x) {
        for (std::int32_t y = 0; y <= 460; ++y) {
            const std::int16_t level = test::cell(state, x, y);
            if (!greyAt(x, y)) {
                ASSERT_EQ(level, -1) << x << ", " << y;
                continue;
            }
            ++plateCells;
            ASSERT_EQ(level, randomInt(replay, 3) + 1) << "scan order is x outer, y inner: " << x << ", " << y;
            ++perLevel[static_cast<std::size_t>(level)];
            ASSERT_GE(x, 10);
            ASSERT_LE(x, 449);
            ASSERT_GE(y, 10);
            ASSERT_LE(y, 449);
            if (level != 2)
                expectedQueue.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), level});
        }
    }
    EXPECT_EQ(state.random.draws, static_cast<std::uint64_t>(plateCells));
    // A disc of radius 220 covers about 152,053 cells.
    EXPECT_GT(plateCells, 151000);
    EXPECT_LT(plateCells, 153000);
    for (std::int16_t level = 1; level <= 4; ++level) {
        EXPECT_GT(perLevel[static_cast<std::size_t>(level)], plateCells / 4 - 2000) << "level " << level;
        EXPECT_LT(perLevel[static_cast<std::size_t>(level)], plateCells / 4 + 2000) << "level " << level;
    }

    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), expectedQueue.size());
    for (std::size_t i = 0; i < queued.size(); ++i) {
        ASSERT_EQ(queued[i].x, expectedQueue[i].x) << "particle " << i;
        ASSERT_EQ(queued[i].y, expectedQueue[i].y) << "particle " << i;
        ASSERT_EQ(queued[i].level, expectedQueue[i].level) << "particle " << i;
    }
}

TEST_F(PlateLayout, EmptyPlateIsBareAndQueuesNothing) {
    layOutPlateGrid(state, false);
    EXPECT_EQ(state.random.draws, 0u);
    EXPECT_TRUE(state.nutriumList.empty());
    std::int64_t plateCells = 0;
    for (std::int32_t x = 0; x <= 460; ++x)
        for (std::int32_t y = 0; y <= 460; ++y) {
            const std::int16_t level = test::cell(state, x, y);
            ASSERT_EQ(level, greyAt(x, y) ? 0 : -1) << x << ", " << y;
            plateCells += level == 0;
        }
    EXPECT_GT(plateCells, 151000);
    EXPECT_EQ(test::cell(state, 230, 230), 0);
    EXPECT_EQ(test::cell(state, 0, 0), -1);
    EXPECT_EQ(test::cell(state, 5, 230), -1);
}

TEST_F(PlateLayout, RowAndColumn460AreNeverPlate) {
    drawBox(graphics, 0, 0, 460, 460, plateColour);  // the whole picture plateColour
    layOutPlateGrid(state, false);
    for (std::int32_t i = 0; i <= 460; ++i) {
        ASSERT_EQ(test::cell(state, 460, i), -1) << i;
        ASSERT_EQ(test::cell(state, i, 460), -1) << i;
    }
    for (std::int32_t i = 0; i < 460; ++i) {
        ASSERT_EQ(test::cell(state, 0, i), 0) << i;
        ASSERT_EQ(test::cell(state, 459, i), 0) << i;
    }
}

TEST_F(PlateLayout, MarginCellsBeyond460KeepTheirValues) {
    test::setCell(state, 470, 100, 7);
    test::setCell(state, 100, 470, 9);
    test::setCell(state, 461, 461, -5);
    test::setCell(state, 488, 488, 3);
    test::setCell(state, 461, 0, 4);
    layOutPlateGrid(state, true);
    EXPECT_EQ(test::cell(state, 470, 100), 7);
    EXPECT_EQ(test::cell(state, 100, 470), 9);
    EXPECT_EQ(test::cell(state, 461, 461), -5);
    EXPECT_EQ(test::cell(state, 488, 488), 3);
    EXPECT_EQ(test::cell(state, 461, 0), 4);
    EXPECT_EQ(test::cell(state, 460, 100), -1);
    for (const NutriumParticle& p : test::particles(state.nutriumList)) {
        ASSERT_LE(p.x, 459);
        ASSERT_LE(p.y, 459);
    }
}

TEST_F(PlateLayout, MembershipIsDecidedByTheExactColourAlone) {
    plotPixel(graphics, 5, 5, plateColour);                    // outside the disc
    plotPixel(graphics, 230, 230, rgb(101, 101, 102));  // inside, one step off
    plotPixel(graphics, 231, 230, rgb(102, 101, 101));
    layOutPlateGrid(state, false);
    EXPECT_EQ(test::cell(state, 5, 5), 0);
    EXPECT_EQ(test::cell(state, 230, 230), -1);
    EXPECT_EQ(test::cell(state, 231, 230), -1);
    EXPECT_EQ(test::cell(state, 232, 230), 0);
    EXPECT_EQ(test::cell(state, 4, 5), -1);
}

TEST_F(PlateLayout, SecondLayoutReplacesEveryDiscCell) {
    layOutPlateGrid(state, true);
    clearList(state.nutriumList);
    const std::uint64_t drawsBefore = state.random.draws;
    layOutPlateGrid(state, false);
    EXPECT_EQ(state.random.draws, drawsBefore);
    EXPECT_TRUE(state.nutriumList.empty());
    for (std::int32_t x = 0; x <= 460; ++x)
        for (std::int32_t y = 0; y <= 460; ++y) ASSERT_EQ(test::cell(state, x, y), greyAt(x, y) ? 0 : -1);
    layOutPlateGrid(state, true);
    for (std::int32_t x = 0; x <= 460; ++x)
        for (std::int32_t y = 0; y <= 460; ++y) {
            const std::int16_t level = test::cell(state, x, y);
            if (greyAt(x, y)) {
                ASSERT_GE(level, 1);
                ASSERT_LE(level, 4);
            } else {
                ASSERT_EQ(level, -1);
            }
        }
}

TEST_F(PlateLayout, FailedAppendKeepsTheLevelAndTheScanGoesOn) {
    Random replay = state.random;
    {
        test::FailAllocation failFirst(1, state.nutriumList);
        layOutPlateGrid(state, true);
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
    // Find the first plate cell whose level is not 2: it holds its level but is
    // not queued; the queue starts with the next such cell.
    std::vector<NutriumParticle> expected;
    for (std::int32_t x = 0; x <= 460; ++x)
        for (std::int32_t y = 0; y <= 460; ++y)
            if (greyAt(x, y)) {
                const std::int32_t level = randomInt(replay, 3) + 1;
                ASSERT_EQ(test::cell(state, x, y), level);
                if (level != 2 && expected.size() < 2)
                    expected.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                        static_cast<std::int16_t>(level)});
            }
    ASSERT_EQ(expected.size(), 2u);
    const NutriumParticle* first = state.nutriumList.front();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, expected[1].x);
    EXPECT_EQ(first->y, expected[1].y);
    EXPECT_EQ(first->level, expected[1].level);
}

// --- placing a creature by hand ------------------------------------------------------

class PlacingByHand : public ::testing::Test {
protected:
    void SetUp() override { test::fillPlate(state, 0); }

    bool clickAt(std::int32_t x, std::int32_t y, std::int32_t heading, std::int32_t kind = 0) {
        scriptDraws(state.random, {heading});
        return placeCreatureByHand(state, test::defaultPlacement(x, y, kind));
    }

    test::TinyPlate plate;
    SimState& state = plate.state;
};

TEST_F(PlacingByHand, DefaultSlidersGiveTheStandardCreature) {
    ASSERT_TRUE(clickAt(100, 120, 5));
    EXPECT_EQ(state.random.draws, 1u);
    ASSERT_EQ(state.creatureList.size(), 1u);
    const Creature& c = *state.creatureList.front();
    EXPECT_EQ(c.x, 100);
    EXPECT_EQ(c.y, 120);
    EXPECT_EQ(c.stomach, 100);
    EXPECT_EQ(c.age, 0);
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.colour, rgb(0, 0, 117));
    EXPECT_EQ(c.maxAge, 1280);
    EXPECT_EQ(c.stomachCapacity, 640);
    EXPECT_EQ(c.sexMarker, 3);
    EXPECT_EQ(c.maturityAge, 320);
    EXPECT_EQ(c.stress, 0);
    EXPECT_EQ(c.stressTolerance, 10);
    EXPECT_EQ(c.kPoints, 1);
    EXPECT_EQ(c.geneV, 2);
    EXPECT_EQ(c.geneR, 2);
    EXPECT_EQ(c.geneSr, 2);
    EXPECT_EQ(c.geneRw, 2);
    EXPECT_EQ(c.geneSl, 2);
    EXPECT_EQ(c.geneL, 2);
    EXPECT_EQ(c.direction, 5);
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_EQ(state.kindCount[1], 0);
    EXPECT_EQ(state.creatureList.current(), &c);
}

TEST_F(PlacingByHand, SecondKindIsRed) {
    ASSERT_TRUE(clickAt(100, 120, 7, 1));
    const Creature& c = *state.creatureList.front();
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.colour, rgb(117, 0, 0));
    EXPECT_EQ(c.direction, 7);
    EXPECT_EQ(state.kindCount[0], 0);
    EXPECT_EQ(state.kindCount[1], 1);
}

TEST_F(PlacingByHand, LimitsFollowTheirOwnSliders) {
    scriptDraws(state.random, {0});
    ASSERT_TRUE(applyInput(state, PlaceInput{100, 120, 0, 10, 50, 33}));
    const Creature& c = *state.creatureList.front();
    EXPECT_EQ(c.stomachCapacity, 10 * 32);
    EXPECT_EQ(c.maxAge, 50 * 64);
    EXPECT_EQ(c.maturityAge, 33 * 16);
}

TEST_F(PlacingByHand, RefusedOffThePlate) {
    test::setCell(state, 100, 120, -1);
    EXPECT_FALSE(clickAt(100, 120, 0));
    EXPECT_TRUE(state.creatureList.empty());
    EXPECT_EQ(state.kindCount[0], 0);
    EXPECT_EQ(state.random.draws, 0u);
    EXPECT_FALSE(clickAt(0, 0, 0));
    EXPECT_TRUE(state.creatureList.empty());
}

TEST_F(PlacingByHand, RefusedWhereACreatureEndedItsLastMove) {
    // A creature steps from (100, 100) to (101, 100): its new cell is marked, its
    // old one is free again.
    test::pushCreature(state, test::creatureAt(100, 100, 1, 2));
    scriptDraws(state.random, {0});
    stepCreatures(state);
    const std::uint64_t drawsBefore = state.random.draws;
    EXPECT_FALSE(clickAt(101, 100, 0));
    EXPECT_EQ(state.random.draws, drawsBefore);
    EXPECT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.kindCount[0], 0);
    EXPECT_TRUE(clickAt(100, 100, 0));
    EXPECT_EQ(state.creatureList.size(), 2u);
    // Either kind's mark refuses.
    cellAt(state.creatureGrid, 150, 150) = 2;
    cellAt(state.creatureGrid, 151, 150) = 1;
    EXPECT_FALSE(clickAt(150, 150, 0));
    EXPECT_FALSE(clickAt(151, 150, 0));
    EXPECT_EQ(state.creatureList.size(), 2u);
}

TEST_F(PlacingByHand, PlacedAfterTheCurrentCreature) {
    Creature& a = test::pushCreature(state, test::creatureAt(10, 10));
    Creature& b = test::pushCreature(state, test::creatureAt(20, 20));
    changeCurrentElement(state.creatureList, &a);
    ASSERT_TRUE(clickAt(100, 100, 0));
    std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], &a);
    EXPECT_EQ(order[1]->x, 100);
    EXPECT_EQ(order[2], &b);
    EXPECT_EQ(state.creatureList.current(), order[1]);

    resetList(state.creatureList);  // before-first: the front
    ASSERT_TRUE(clickAt(200, 200, 0));
    EXPECT_EQ(state.creatureList.front()->x, 200);
    EXPECT_EQ(state.kindCount[0], 4);
    EXPECT_EQ(test::listProblems(state.creatureList), "");
}

TEST_F(PlacingByHand, AfterAStepANewCreatureGoesLast) {
    test::pushCreature(state, test::creatureAt(10, 10, 0, 4));
    test::pushCreature(state, test::creatureAt(20, 20, 0, 4));
    scriptDraws(state.random, {0, 0});
    stepCreatures(state);
    ASSERT_TRUE(clickAt(300, 300, 0));
    EXPECT_EQ(state.creatureList.back()->x, 300);
    EXPECT_EQ(state.creatureList.size(), 3u);
}

TEST_F(PlacingByHand, FailedAppendReportsAndChangesNothing) {
    Creature& a = test::pushCreature(state, test::creatureAt(10, 10));
    {
        test::FailAllocation failFirst(1, state.creatureList);
        EXPECT_FALSE(clickAt(100, 100, 0));
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
    EXPECT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.creatureList.current(), &a);
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_EQ(state.random.draws, 0u);
    EXPECT_EQ(scriptedDrawsLeft(state.random), 1u);
}

}  // namespace
}  // namespace vivarix
