// reproduceCreature: the child's fields, its mutations, the order and number of draws,
// its place in the list, and a birth without memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/core/colour.h"
#include "sim/gene_colour.h"
#include "sim/reproduction.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {

class Reproduction : public ::testing::Test {
protected:
    void SetUp() override { test::fillPlate(state, 0); }

    // A parent in the middle of a three-creature list, made current.
    Creature& parentInMiddle(const Creature& fields) {
        before = &test::pushCreature(state, test::creatureAt(50, 50, 1));
        Creature& parent = test::pushCreature(state, fields);
        after = &test::pushCreature(state, test::creatureAt(60, 60, 1));
        changeCurrentElement(state.creatureList, &parent);
        return parent;
    }

    // The child of `parent` made with exactly `draws`; checks that every scripted
    // draw and no other was taken.
    Creature& birth(Creature& parent, std::vector<std::int32_t> draws) {
        const std::uint64_t drawsBefore = state.random.draws;
        const std::size_t expected = draws.size();
        scriptDraws(state.random, std::move(draws));
        reproduceCreature(state, parent);
        EXPECT_EQ(scriptedDrawsLeft(state.random), 0u);
        EXPECT_EQ(state.random.draws - drawsBefore, expected);
        Creature* child = state.creatureList.current();
        if (!child || child == &parent) throw std::runtime_error("no child is current after the birth");
        return *child;
    }

    // Heading draw, then one draw per chance: `hits` lists (chance number 1..12,
    // second draw) for the chances that hit; the others miss with 90.
    static std::vector<std::int32_t> drawsFor(std::int32_t heading,
                                              std::vector<std::pair<int, std::int32_t>> hits) {
        std::vector<std::int32_t> draws{heading};
        for (int chance = 1; chance <= 12; ++chance) {
            bool hit = false;
            for (const auto& [number, second] : hits)
                if (number == chance) {
                    draws.push_back(91);  // the lowest value that hits
                    draws.push_back(second);
                    hit = true;
                }
            if (!hit) draws.push_back(90);
        }
        return draws;
    }

    test::TinyPlate plate;
    SimState& state = plate.state;
    Creature* before = nullptr;
    Creature* after = nullptr;
};

Creature oddParent() {
    // Every field distinct, so that a field copied from the wrong place shows.
    Creature p = test::creatureAt(123, 234, 1, 6);
    p.stomach = 151;
    p.age = 160;
    p.maxAge = 1111;
    p.stomachCapacity = 555;
    p.sexMarker = -7;
    p.maturityAge = 333;
    p.stress = 44;
    p.stressTolerance = 12;
    p.kPoints = 5;
    p.geneV = 2;
    p.geneR = 1;
    p.geneSr = 0;
    p.geneRw = 2;
    p.geneSl = 1;
    p.geneL = 2;
    p.colour = geneColour(p);
    return p;
}

TEST_F(Reproduction, WithoutHitsTheChildCopiesItsParent) {
    Creature& parent = parentInMiddle(oddParent());
    const Creature parentBefore = parent;
    Creature& child = birth(parent, drawsFor(3, {}));

    EXPECT_EQ(child.x, 123);
    EXPECT_EQ(child.y, 234);
    EXPECT_EQ(child.stomach, 151);
    EXPECT_EQ(child.age, 0);
    EXPECT_EQ(child.kind, 1);
    EXPECT_EQ(child.colour, parentBefore.colour);
    EXPECT_EQ(child.maxAge, 1111);
    EXPECT_EQ(child.stomachCapacity, 555);
    EXPECT_EQ(child.sexMarker, -7);
    EXPECT_EQ(child.maturityAge, 333);
    EXPECT_EQ(child.stress, 0);
    EXPECT_EQ(child.stressTolerance, 12);
    EXPECT_EQ(child.kPoints, 5);
    EXPECT_EQ(child.geneV, 2);
    EXPECT_EQ(child.geneR, 1);
    EXPECT_EQ(child.geneSr, 0);
    EXPECT_EQ(child.geneRw, 2);
    EXPECT_EQ(child.geneSl, 1);
    EXPECT_EQ(child.geneL, 2);
    EXPECT_EQ(child.direction, 3);

    // The parent is untouched: the caller pays the cost of a birth.
    EXPECT_EQ(parent.stomach, parentBefore.stomach);
    EXPECT_EQ(parent.age, parentBefore.age);
    EXPECT_EQ(parent.stress, parentBefore.stress);
    EXPECT_EQ(parent.direction, parentBefore.direction);
}

TEST_F(Reproduction, ChildIsInsertedRightAfterItsParentAndBecomesCurrent) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    Creature& child = birth(parent, drawsFor(0, {}));
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], before);
    EXPECT_EQ(order[1], &parent);
    EXPECT_EQ(order[2], &child);
    EXPECT_EQ(order[3], after);
    EXPECT_EQ(state.creatureList.current(), &child);
    EXPECT_EQ(test::listProblems(state.creatureList), "");
}

TEST_F(Reproduction, CountsTheChildForItsParentsKindOnly) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));  // the others are kind 1
    ASSERT_EQ(state.kindCount[0], 1);
    ASSERT_EQ(state.kindCount[1], 2);
    birth(parent, drawsFor(0, {}));
    EXPECT_EQ(state.kindCount[0], 2);
    EXPECT_EQ(state.kindCount[1], 2);
    EXPECT_EQ(state.kindCount[2], 0);
    EXPECT_EQ(state.kindCount, test::census(state.creatureList));
}

TEST_F(Reproduction, HeadingIsItsOwnDrawZeroToSeven) {
    for (std::int32_t heading : {0, 7}) {
        Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0, 4));
        EXPECT_EQ(birth(parent, drawsFor(heading, {})).direction, heading);
    }
}

TEST_F(Reproduction, GeneLHitWithZeroLowersItAndRecolours) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    Creature& child = birth(parent, drawsFor(1, {{12, 0}}));
    EXPECT_EQ(child.geneL, 1);
    EXPECT_EQ(child.geneV, 2);
    EXPECT_EQ(child.geneSl, 2);
    EXPECT_EQ(child.colour, rgb(0, 0, 116));  // 222221 mod 255
    EXPECT_EQ(parent.colour, rgb(0, 0, 117));
}

TEST_F(Reproduction, RedChildOfGeneVHit) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 1));
    Creature& child = birth(parent, drawsFor(1, {{7, 0}}));
    EXPECT_EQ(child.geneV, 1);
    EXPECT_EQ(child.colour, rgb(77, 0, 0));  // 122222 mod 255
}

TEST_F(Reproduction, GeneHitWithOneKeepsIt) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    Creature& child = birth(parent, drawsFor(1, {{8, 1}, {9, 1}, {10, 1}}));
    EXPECT_EQ(child.geneR, 2);
    EXPECT_EQ(child.geneSr, 2);
    EXPECT_EQ(child.geneRw, 2);
    EXPECT_EQ(child.colour, parent.colour);
}

TEST_F(Reproduction, AGeneOfZeroThatIsHitStaysZero) {
    Creature fields = test::creatureAt(100, 100, 0);
    fields.geneSr = 0;
    fields.colour = geneColour(fields);
    Creature& parent = parentInMiddle(fields);
    Creature& child = birth(parent, drawsFor(1, {{9, 0}}));
    EXPECT_EQ(child.geneSr, 0);
    EXPECT_EQ(child.colour, parent.colour);
}

TEST_F(Reproduction, MaxAgeHasTwoChances) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    Creature& child = birth(parent, drawsFor(1, {{2, 3}, {3, 0}}));
    EXPECT_EQ(child.maxAge, 1263);  // 1280 - 7 - 10
}

TEST_F(Reproduction, EachLimitHasItsOwnChance) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    // kPoints -1, stomachCapacity -4, maturityAge -1, stressTolerance -10.
    Creature& child = birth(parent, drawsFor(1, {{1, 0}, {4, 6}, {5, 9}, {6, 0}}));
    EXPECT_EQ(child.kPoints, 0);
    EXPECT_EQ(child.maxAge, 1280);
    EXPECT_EQ(child.stomachCapacity, 636);
    EXPECT_EQ(child.maturityAge, 319);
    EXPECT_EQ(child.stressTolerance, 0);
    EXPECT_EQ(child.geneV, 2);
    EXPECT_EQ(child.geneL, 2);
}

TEST_F(Reproduction, LimitsHaveNoLowerBound) {
    Creature fields = test::creatureAt(100, 100, 0);
    fields.kPoints = 0;
    fields.stressTolerance = 3;
    fields.maturityAge = 0;
    Creature& parent = parentInMiddle(fields);
    Creature& child = birth(parent, drawsFor(1, {{1, 0}, {5, 0}, {6, 0}}));
    EXPECT_EQ(child.kPoints, -1);
    EXPECT_EQ(child.maturityAge, -10);
    EXPECT_EQ(child.stressTolerance, -7);
}

TEST_F(Reproduction, EveryChanceHitTakesTwentyFiveDraws) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 1));
    std::vector<std::pair<int, std::int32_t>> all;
    for (int chance = 1; chance <= 12; ++chance) all.emplace_back(chance, 0);
    Creature& child = birth(parent, drawsFor(2, all));  // 1 + 12 + 12 draws
    EXPECT_EQ(child.kPoints, 0);
    EXPECT_EQ(child.maxAge, 1260);
    EXPECT_EQ(child.stomachCapacity, 630);
    EXPECT_EQ(child.maturityAge, 310);
    EXPECT_EQ(child.stressTolerance, 0);
    EXPECT_EQ(child.geneV + child.geneR + child.geneSr + child.geneRw + child.geneSl + child.geneL, 6);
    EXPECT_EQ(child.colour, rgb(111111 % 255, 0, 0));
}

TEST_F(Reproduction, OnlyDrawsAboveNinetyHit) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    // 90 misses without a second draw; 100 hits.
    std::vector<std::int32_t> draws{0, 90, 100, 10, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90};
    Creature& child = birth(parent, draws);
    EXPECT_EQ(child.maxAge, 1280);  // the first maxAge chance hit with 10: a change of 0
    EXPECT_EQ(child.kPoints, 1);
}

TEST_F(Reproduction, MutationsNeverRaiseATrait) {
    // Unscripted births: every trait stays or falls, by the ranges of its change.
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    int deepMaxAgeLosses = 0;
    int geneHits = 0;
    std::int32_t lowestCapacityChange = 0;
    for (int i = 0; i < 3000; ++i) {
        changeCurrentElement(state.creatureList, &parent);
        const std::uint64_t drawsBefore = state.random.draws;
        reproduceCreature(state, parent);
        Creature& child = *state.creatureList.current();
        const std::int32_t capacityChange = child.stomachCapacity - parent.stomachCapacity;
        ASSERT_LE(capacityChange, 0);
        ASSERT_GE(capacityChange, -10);
        lowestCapacityChange = std::min(lowestCapacityChange, capacityChange);
        ASSERT_LE(child.maxAge, 1280);
        ASSERT_GE(child.maxAge, 1260);
        ASSERT_LE(child.maturityAge, 320);
        ASSERT_GE(child.maturityAge, 310);
        ASSERT_LE(child.stressTolerance, 10);
        ASSERT_GE(child.stressTolerance, 0);
        ASSERT_TRUE(child.kPoints == 0 || child.kPoints == 1);
        for (std::int16_t gene : {child.geneV, child.geneR, child.geneSr, child.geneRw, child.geneSl, child.geneL}) {
            ASSERT_TRUE(gene == 1 || gene == 2);
            geneHits += gene == 1;
        }
        ASSERT_EQ(child.colour, geneColour(child));
        ASSERT_GE(child.direction, 0);
        ASSERT_LE(child.direction, 7);
        // 13 draws plus one per hit: at most 25.
        ASSERT_GE(state.random.draws - drawsBefore, 13u);
        ASSERT_LE(state.random.draws - drawsBefore, 25u);
        deepMaxAgeLosses += child.maxAge < 1270;  // only both chances together get there
        deleteElement(state.creatureList);  // keep the list short
        state.kindCount[0] -= 1;
    }
    // A gene's chance hits 10 times in 101 and then loses 1 half the time: about 891
    // gene losses in 3000 births.  A maxAge below 1270 needs both of its chances
    // (about 13 births in 3000).
    EXPECT_EQ(lowestCapacityChange, -10);
    EXPECT_GT(geneHits, 600);
    EXPECT_LT(geneHits, 1200);
    EXPECT_GT(deepMaxAgeLosses, 0);
    EXPECT_EQ(state.kindCount, test::census(state.creatureList));
}

TEST_F(Reproduction, FailedAllocationReportsOnceAndMakesNoChild) {
    Creature& parent = parentInMiddle(test::creatureAt(100, 100, 0));
    const auto countsBefore = state.kindCount;
    const std::uint64_t drawsBefore = state.random.draws;
    {
        test::FailAllocation failNext(1, state.creatureList);
        reproduceCreature(state, parent);
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
    EXPECT_EQ(state.creatureList.size(), 3u);
    EXPECT_EQ(state.kindCount, countsBefore);
    EXPECT_EQ(state.creatureList.current(), &parent);
    EXPECT_EQ(state.random.draws, drawsBefore);  // nothing drawn for a child never made
    EXPECT_EQ(test::listProblems(state.creatureList), "");

    // The next birth works again.
    reproduceCreature(state, parent);
    EXPECT_EQ(state.creatureList.size(), 4u);
    EXPECT_EQ(plate.messages.shown.size(), 1u);
}

}  // namespace
}  // namespace vivarix
