// The turn wheel: a draw R in 0..10 picks a turn weighted by the six genes, and the
// heading wraps into 0..7.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "sim/creature_step.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {

Creature withGenes(std::int16_t v, std::int16_t r, std::int16_t sr, std::int16_t rw, std::int16_t sl,
                   std::int16_t l) {
    Creature c = test::creatureAt(100, 100);
    c.geneV = v;
    c.geneR = r;
    c.geneSr = sr;
    c.geneRw = rw;
    c.geneSl = sl;
    c.geneL = l;
    return c;
}

TEST(TurnWheel, AllGenesTwoOverEveryDraw) {
    const Creature c = withGenes(2, 2, 2, 2, 2, 2);
    constexpr std::array<std::int32_t, 11> expected = {0, 0, 0, +1, +2, +4, +4, -1, -1, -2, 0};
    for (std::int32_t draw = 0; draw <= 10; ++draw) EXPECT_EQ(turnFor(c, draw), expected[static_cast<std::size_t>(draw)]) << "R = " << draw;
}

TEST(TurnWheel, AllGenesZeroNeverTurns) {
    const Creature c = withGenes(0, 0, 0, 0, 0, 0);
    for (std::int32_t draw = 0; draw <= 10; ++draw) EXPECT_EQ(turnFor(c, draw), 0) << "R = " << draw;
}

TEST(TurnWheel, EachGeneOwnsItsTurn) {
    // One gene of 2, the rest 0 (sum 2): R = 5..9 gives r = 1, which passes the
    // empty genes before it and is taken by the gene of 2.  R = 0..4 gives r = 0,
    // which the first test (geneV >= r) takes as "keep the heading".
    struct Row {
        const char* gene;
        Creature creature;
        std::int32_t turn;
    };
    const Row rows[] = {
        {"geneV", withGenes(2, 0, 0, 0, 0, 0), 0},   {"geneR", withGenes(0, 2, 0, 0, 0, 0), +1},
        {"geneSr", withGenes(0, 0, 2, 0, 0, 0), +2}, {"geneRw", withGenes(0, 0, 0, 2, 0, 0), +4},
        {"geneSl", withGenes(0, 0, 0, 0, 2, 0), -1}, {"geneL", withGenes(0, 0, 0, 0, 0, 2), -2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.gene);
        for (std::int32_t draw = 0; draw <= 4; ++draw) EXPECT_EQ(turnFor(row.creature, draw), 0) << "R = " << draw;
        for (std::int32_t draw = 5; draw <= 9; ++draw)
            EXPECT_EQ(turnFor(row.creature, draw), row.turn) << "R = " << draw;
        // R = 10 gives r = 2: every gene (2 at most) fails "gene > r".
        EXPECT_EQ(turnFor(row.creature, 10), 0);
    }
}

TEST(TurnWheel, OnlyTheFirstComparisonAcceptsATie) {
    // geneV 1, geneR 1 (sum 2), R = 5: r = 1 ties geneV, which keeps the heading.
    EXPECT_EQ(turnFor(withGenes(1, 1, 0, 0, 0, 0), 5), 0);
    // geneV 0, geneR 2, geneSr 2 (sum 4), R = 5: r = 2 passes geneV (0 < 2), ties
    // geneR (not taken, r becomes 0) and geneSr 2 > 0 takes it.
    EXPECT_EQ(turnFor(withGenes(0, 2, 2, 0, 0, 0), 5), +2);
    // A tie on geneL at the end falls through to "no turn".
    EXPECT_EQ(turnFor(withGenes(0, 0, 0, 0, 0, 1), 10), 0);
    // ... and a tie on geneSl hands over to geneL.
    EXPECT_EQ(turnFor(withGenes(0, 0, 0, 0, 1, 1), 5), -2);
}

TEST(TurnWheel, RemainderIsDroppedAfterTheMultiplication) {
    // Sum 12, R = 3: 12 * 3 / 10 = 3 (not 12 * (3 / 10) = 0): geneV 2 < 3 -> r = 1,
    // geneR 2 > 1 -> +1.
    EXPECT_EQ(turnFor(withGenes(2, 2, 2, 2, 2, 2), 3), +1);
    // Sum 7 (1, 1, 1, 1, 1, 2), R = 9: r = 6 -> passes 1, 1, 1, 1, 1 to r = 1, geneL 2 > 1.
    EXPECT_EQ(turnFor(withGenes(1, 1, 1, 1, 1, 2), 9), -2);
    // Sum 7, R = 8: r = 5 -> passes four genes to r = 1, geneSl 1 is a tie, geneL 2 > 0.
    EXPECT_EQ(turnFor(withGenes(1, 1, 1, 1, 1, 2), 8), -2);
    // Sum 7, R = 7: r = 4 -> r = 0 at geneSl, 1 > 0 -> -1.
    EXPECT_EQ(turnFor(withGenes(1, 1, 1, 1, 1, 2), 7), -1);
}

// --- the heading of a stepped creature --------------------------------------------

struct HeadingCase {
    std::int16_t start;
    std::int32_t draw;  // with all genes 2: 3 -> +1, 4 -> +2, 5 -> +4, 7 -> -1, 9 -> -2
    std::int16_t end;
};

TEST(TurnWheel, StepWrapsTheHeadingIntoZeroToSeven) {
    const HeadingCase cases[] = {
        {7, 4, 1},  // 7 + 2
        {0, 9, 6},  // 0 - 2
        {5, 5, 1},  // 5 + 4
        {7, 3, 0},  // 7 + 1
        {0, 7, 7},  // 0 - 1
        {1, 9, 7},  // 1 - 2
        {4, 5, 0},  // 4 + 4
        {3, 5, 7},  // 3 + 4
        {6, 0, 6},  // no turn
    };
    // Direction -> step, clockwise from "up" with rows growing downward.
    constexpr std::int32_t dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    constexpr std::int32_t dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    for (const HeadingCase& hc : cases) {
        SCOPED_TRACE(testing::Message() << "heading " << hc.start << ", R " << hc.draw);
        test::TinyPlate plate;
        test::fillPlate(plate.state, 0);
        Creature& c = test::pushCreature(plate.state, test::creatureAt(200, 200, 0, hc.start));
        scriptDraws(plate.state.random, {hc.draw});
        stepCreatures(plate.state);
        EXPECT_EQ(scriptedDrawsLeft(plate.state.random), 0u);
        EXPECT_EQ(plate.state.random.draws, 1u);
        EXPECT_EQ(c.direction, hc.end);
        // The move follows the new heading.
        EXPECT_EQ(c.x, 200 + dx[hc.end]);
        EXPECT_EQ(c.y, 200 + dy[hc.end]);
    }
}

TEST(TurnWheel, CreatureWithAllGenesZeroKeepsItsHeadingForEveryDraw) {
    test::TinyPlate plate;
    test::fillPlate(plate.state, 0);
    Creature fields = test::creatureAt(200, 200, 1, 3);
    fields.geneV = fields.geneR = fields.geneSr = fields.geneRw = fields.geneSl = fields.geneL = 0;
    Creature& c = test::pushCreature(plate.state, fields);
    scriptDraws(plate.state.random, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (int tick = 0; tick < 11; ++tick) stepCreatures(plate.state);
    EXPECT_EQ(scriptedDrawsLeft(plate.state.random), 0u);
    EXPECT_EQ(c.direction, 3);
    EXPECT_EQ(c.x, 211);  // heading 3: one cell right and down per tick
    EXPECT_EQ(c.y, 211);
}

}  // namespace
}  // namespace vivarix
