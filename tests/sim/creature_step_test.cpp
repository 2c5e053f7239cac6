// stepCreatures on tiny plates: hunger and ageing, movement and its limits, blocked
// moves, attacks and the opponent search, mutual removal at every place in the list,
// eating, death, maturity, the creature grid's marks and the list position on return.
//
// Most plates here are "islands": every cell -1 except the few a test needs, so a
// creature on a one-cell island never moves and tests can pile creatures on a cell.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "sim/creature_step.h"
#include "sim/plate_setup.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {

struct Cell {
    std::int32_t x;
    std::int32_t y;
};

class CreatureStep : public ::testing::Test {
protected:
    // Every cell -1 except the given ones, which are bare plate.
    void islands(std::initializer_list<Cell> cells) {
        test::clearPlate(state);
        for (const Cell& c : cells) test::setCell(state, c.x, c.y, 0);
    }

    Creature& push(const Creature& fields) { return test::pushCreature(state, fields); }

    // One tick with exactly these draws, all of which must be taken.
    void step(std::vector<std::int32_t> draws) {
        const std::uint64_t before = state.random.draws;
        const std::size_t count = draws.size();
        scriptDraws(state.random, std::move(draws));
        stepCreatures(state);
        EXPECT_EQ(scriptedDrawsLeft(state.random), 0u) << "fewer draws than scripted";
        EXPECT_EQ(state.random.draws - before, count) << "more draws than scripted";
    }

    // Appends the draws of a birth without mutations to `draws`.
    static void plainBirth(std::vector<std::int32_t>& draws, std::int32_t heading) {
        draws.push_back(heading);
        draws.insert(draws.end(), 12, 90);
    }

    void expectConsistent() {
        EXPECT_EQ(state.kindCount, test::census(state.creatureList));
        EXPECT_EQ(test::listProblems(state.creatureList), "");
        // On return the walk has left the last creature current.
        EXPECT_EQ(state.creatureList.current(), state.creatureList.back());
    }

    test::TinyPlate plate;
    SimState& state = plate.state;
};

Creature stressed(Creature c, std::int32_t stress) {
    c.stress = stress;
    return c;
}

// --- hunger, ageing, moving ----------------------------------------------------------

TEST_F(CreatureStep, EveryVisitCostsOneStomachAndAddsOneAge) {
    test::fillPlate(state, 0);
    Creature& c = push(test::creatureAt(200, 200, 1, 2));
    step({0});
    EXPECT_EQ(c.stomach, 99);
    EXPECT_EQ(c.age, 1);
    for (int tick = 2; tick <= 5; ++tick) step({0});
    EXPECT_EQ(c.stomach, 95);
    EXPECT_EQ(c.age, 5);
    EXPECT_EQ(c.x, 205);  // heading 2, no turn with draw 0
    EXPECT_EQ(c.y, 200);
    expectConsistent();
}

TEST_F(CreatureStep, MovesOneCellAlongEachHeading) {
    struct Row {
        std::int16_t heading;
        std::int32_t dx, dy;
    };
    constexpr Row rows[] = {{0, 0, -1}, {1, 1, -1}, {2, 1, 0},  {3, 1, 1},
                            {4, 0, 1},  {5, -1, 1}, {6, -1, 0}, {7, -1, -1}};
    test::fillPlate(state, 0);
    std::vector<Creature*> all;
    for (const Row& row : rows) all.push_back(&push(test::creatureAt(50 + 20 * row.heading, 100, 0, row.heading)));
    step(std::vector<std::int32_t>(8, 0));
    for (const Row& row : rows) {
        const Creature& c = *all[static_cast<std::size_t>(row.heading)];
        EXPECT_EQ(c.x, 50 + 20 * row.heading + row.dx) << "heading " << row.heading;
        EXPECT_EQ(c.y, 100 + row.dy) << "heading " << row.heading;
        EXPECT_EQ(c.direction, row.heading);
        EXPECT_EQ(test::mark(state, c.x, c.y), 1);
        EXPECT_EQ(c.stress, 0);
    }
}

TEST_F(CreatureStep, RectangleEdgeUndoesTheMoveButKeepsTheTurn) {
    // No -1 cells at all: only the rectangle 1..459 keeps creatures in.
    test::fillWholeGrid(state, 0);
    struct Row {
        std::int32_t x, y;
        std::int16_t heading;
        std::int32_t draw;  // 0: no turn, 3: +1, 7: -1
        std::int16_t newHeading;
    };
    const Row rows[] = {
        {1, 200, 5, 3, 6},    // turns to "left" into column 0
        {459, 200, 2, 0, 2},  // column 460
        {200, 1, 1, 7, 0},    // turns to "up" into row 0
        {200, 459, 4, 0, 4},  // row 460
        {1, 1, 7, 0, 7},      // corner
        {459, 459, 3, 0, 3},  // corner
        {1, 300, 5, 0, 5},    // down-left: leaves by x alone
        {300, 459, 5, 0, 5},  // down-left: leaves by y alone
    };
    std::vector<std::int32_t> draws;
    std::vector<Creature*> all;
    for (const Row& row : rows) {
        all.push_back(&push(test::creatureAt(row.x, row.y, 1, row.heading)));
        test::setCell(state, row.x, row.y, 3);  // its own cell holds food
        draws.push_back(row.draw);
    }
    step(draws);
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const Creature& c = *all[i];
        EXPECT_EQ(c.x, rows[i].x);
        EXPECT_EQ(c.y, rows[i].y);
        EXPECT_EQ(c.direction, rows[i].newHeading);
        EXPECT_EQ(c.stomach, 100 - 1 + 9);  // still hungry and still eats its own cell
        EXPECT_EQ(c.age, 1);
        EXPECT_EQ(c.stress, 0);  // an undone move is not a blocked one
        EXPECT_EQ(test::cell(state, c.x, c.y), 0);
        EXPECT_EQ(test::mark(state, c.x, c.y), 2);
    }
    // The eaten cells are queued with level 0, in the order the creatures ate.
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), all.size());
    for (std::size_t i = 0; i < queued.size(); ++i) {
        EXPECT_EQ(queued[i].x, rows[i].x);
        EXPECT_EQ(queued[i].y, rows[i].y);
        EXPECT_EQ(queued[i].level, 0);
    }
}

TEST_F(CreatureStep, OffPlateCellUndoesTheMoveInEveryDirection) {
    islands({{100, 100}, {200, 200}, {300, 300}});
    test::setCell(state, 200, 200, 2);
    Creature& c = push(test::creatureAt(200, 200, 0, 0));
    std::int16_t heading = 0;
    for (int tick = 0; tick < 8; ++tick) {
        step({3});  // +1 every tick: every heading once
        heading = static_cast<std::int16_t>((heading + 1) % 8);
        EXPECT_EQ(c.direction, heading);
        EXPECT_EQ(c.x, 200);
        EXPECT_EQ(c.y, 200);
        EXPECT_EQ(c.stress, 0);
    }
    EXPECT_EQ(c.stomach, 100 - 8 + 6);  // ate the cell in the first tick
    EXPECT_EQ(c.age, 8);
}

// --- blocked moves and stress -------------------------------------------------------

TEST_F(CreatureStep, MoveOntoAMarkedCellIsBlockedAndCostsThreeOnAnUnmarkedOwnCell) {
    test::fillPlate(state, 0);
    // W ends on (201, 200) first; B, of the same kind, wants that cell.  B's own cell
    // is unmarked, so the blocked move costs 3 even though W is its kin.
    Creature& w = push(test::creatureAt(201, 201, 0, 0));
    Creature& b = push(test::creatureAt(200, 200, 0, 2));
    step({0, 0});
    EXPECT_EQ(w.x, 201);
    EXPECT_EQ(w.y, 200);
    EXPECT_EQ(b.x, 200);
    EXPECT_EQ(b.y, 200);
    EXPECT_EQ(b.direction, 2);
    EXPECT_EQ(b.stress, 3);
    EXPECT_EQ(w.stress, 0);
    EXPECT_EQ(b.stomach, 99);
    EXPECT_EQ(test::mark(state, 200, 200), 1);
    EXPECT_EQ(test::mark(state, 201, 200), 1);
    expectConsistent();
}

TEST_F(CreatureStep, OwnCellTakenByKinCostsTenAndByTheOtherKindThree) {
    for (std::int16_t kind : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "second creature of kind " << kind);
        test::TinyPlate fresh;
        SimState& s = fresh.state;
        test::clearPlate(s);
        test::setCell(s, 200, 200, 0);
        Creature& first = test::pushCreature(s, test::creatureAt(200, 200, 0, 0));
        Creature& second = test::pushCreature(s, test::creatureAt(200, 200, kind, 0));
        scriptDraws(s.random, {0, 0});
        stepCreatures(s);
        // The move off the island is undone; the first creature then marks the
        // cell, so the second finds its own cell taken.
        EXPECT_EQ(first.stress, 0);
        EXPECT_EQ(second.stress, kind == 0 ? 10 : 3);
        EXPECT_EQ(test::mark(s, 200, 200), kind + 1);  // the last mark wins
        EXPECT_EQ(s.creatureList.size(), 2u);
    }
}

TEST_F(CreatureStep, AttacksFromTheFourthBlockedMoveOnAForeignMark) {
    islands({{200, 200}});
    Creature& a = push(test::creatureAt(200, 200, 0));
    Creature& b = push(test::creatureAt(200, 200, 1));
    for (int tick = 1; tick <= 3; ++tick) {
        step({0, 0});
        EXPECT_EQ(b.stress, 3 * tick);
        ASSERT_EQ(state.creatureList.size(), 2u);
    }
    EXPECT_EQ(a.stomach, 97);
    EXPECT_EQ(b.stomach, 97);
    step({0, 0});  // stress 12 > 10: b attacks a, which is not stressed
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.creatureList.front(), &b);
    EXPECT_EQ(b.stomach, 96 + 2 * 96);
    EXPECT_EQ(b.stress, 0);
    EXPECT_EQ(state.kindCount[0], 0);
    EXPECT_EQ(state.kindCount[1], 1);
    EXPECT_EQ(test::mark(state, 200, 200), 2);
    expectConsistent();
}

TEST_F(CreatureStep, AttacksFromTheSecondBlockedMoveOnAKinMark) {
    islands({{200, 200}});
    Creature& a = push(test::creatureAt(200, 200, 1));
    Creature& b = push(test::creatureAt(200, 200, 1));
    a.stomach = 70;
    step({0, 0});
    EXPECT_EQ(b.stress, 10);  // not above the tolerance yet
    ASSERT_EQ(state.creatureList.size(), 2u);
    step({0, 0});
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(b.stomach, 98 + 68);  // kin is eaten for its stomach, once
    EXPECT_EQ(b.stress, 0);
    EXPECT_EQ(state.kindCount[1], 1);
    expectConsistent();
}

TEST_F(CreatureStep, AttackWithNobodyElseOnTheCellOnlyAddsStress) {
    test::fillPlate(state, 0);
    // W takes (201, 200); B is blocked from it with stress 9 + 3 = 12 and finds
    // nobody on its own cell.  N stands next to B but not on its cell.
    push(test::creatureAt(201, 201, 0, 0));
    Creature& b = push(stressed(test::creatureAt(200, 200, 1, 2), 9));
    Creature& n = push(test::creatureAt(199, 200, 0, 6));
    step({0, 0, 0});
    EXPECT_EQ(b.stress, 12);
    EXPECT_EQ(b.stomach, 99);
    EXPECT_EQ(n.x, 198);
    EXPECT_EQ(state.creatureList.size(), 3u);
    expectConsistent();
}

// The layout of the attack tests: W moves onto (201, 200) first; attacker B at
// (200, 200) heads there, is blocked on its unmarked own cell (+3: 12 -> 15) and
// attacks; Q shares B's cell and comes later in the list.  W is B's kin, so a step
// that read the mark of the cell B was blocked from would add 10 instead.
class Attack : public CreatureStep {
protected:
    void layOut(const Creature& qFields) {
        test::fillPlate(state, 0);
        w = &push(test::creatureAt(201, 201, 0, 0));
        b = &push(stressed(test::creatureAt(200, 200, 0, 2), 12));
        q = &push(qFields);
    }
    Creature* w = nullptr;
    Creature* b = nullptr;
    Creature* q = nullptr;
};

TEST_F(Attack, StandoffBetweenStressedKin) {
    Creature qFields = stressed(test::creatureAt(200, 200, 0, 4), 12);
    layOut(qFields);
    step({0, 0, 0});
    EXPECT_EQ(b->stress, 3);   // 15 - 12
    EXPECT_EQ(q->stress, -3);  // 12 - 15
    EXPECT_EQ(state.creatureList.size(), 3u);
    EXPECT_EQ(b->stomach, 99);
    // Q's own visit follows: it moves down, unblocked.
    EXPECT_EQ(q->x, 200);
    EXPECT_EQ(q->y, 201);
    EXPECT_EQ(q->stomach, 99);
    expectConsistent();
}

TEST_F(Attack, EatsUnstressedKinForItsStomach) {
    Creature qFields = test::creatureAt(200, 200, 0, 4);
    qFields.stomach = 50;
    qFields.stress = 10;  // at the tolerance, not above it
    layOut(qFields);
    step({0, 0});  // Q is eaten before its visit: no draw for it
    ASSERT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(state.creatureList.back(), b);
    EXPECT_EQ(b->stomach, 99 + 50);
    EXPECT_EQ(b->stress, 0);
    EXPECT_EQ(state.kindCount[0], 2);
    EXPECT_EQ(test::mark(state, 200, 200), 1);
    expectConsistent();
}

TEST_F(Attack, EatsTheUnstressedOtherKindForTwiceItsStomach) {
    Creature qFields = test::creatureAt(200, 200, 1, 4);
    qFields.stomach = 50;
    layOut(qFields);
    step({0, 0});
    ASSERT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(b->stomach, 99 + 100);
    EXPECT_EQ(b->stress, 0);
    EXPECT_EQ(state.kindCount[0], 2);
    EXPECT_EQ(state.kindCount[1], 0);
    expectConsistent();
}

TEST_F(Attack, AMealOfACreatureCanFillTheStomachSoTheCellIsLeft) {
    Creature qFields = test::creatureAt(200, 200, 1, 4);
    qFields.stomach = 400;
    layOut(qFields);
    test::setCell(state, 200, 200, 4);
    step({0, 0});
    // 99 + 800 is above 640: the cell stays.
    EXPECT_EQ(b->stomach, 899);
    EXPECT_EQ(test::cell(state, 200, 200), 4);
    EXPECT_TRUE(state.nutriumList.empty());
}

// --- the opponent search ---------------------------------------------------------------

TEST_F(CreatureStep, OpponentIsTheFirstInListOrderWhenItComesBeforeTheAttacker) {
    islands({{200, 200}});
    // X marks the cell; A is then blocked on a foreign mark (12 + 3) and attacks.
    // Three creatures share the cell: the first other one in list order is X.
    Creature xFields = test::creatureAt(200, 200, 1);
    xFields.stomach = 40;
    Creature yFields = test::creatureAt(200, 200, 1);
    yFields.stomach = 70;
    Creature& x = push(xFields);
    Creature& a = push(stressed(test::creatureAt(200, 200, 0), 12));
    Creature& y = push(yFields);
    (void)x;
    step({0, 0, 0});
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &a);
    EXPECT_EQ(order[1], &y);
    EXPECT_EQ(a.stomach, 99 + 2 * 39);
    EXPECT_EQ(y.stomach, 69);
    EXPECT_EQ(y.stress, 3);  // Y finds A's mark (1) on its cell
    expectConsistent();
}

TEST_F(CreatureStep, OpponentIsTheFirstInListOrderWhenAllComeAfterTheAttacker) {
    // W marks R; A is blocked from R on its unmarked cell P and attacks; Y1 and Y2
    // share P and come later in the list.
    islands({{200, 200}, {201, 200}});
    push(test::creatureAt(201, 200, 0, 2));
    Creature& a = push(stressed(test::creatureAt(200, 200, 0, 2), 12));
    Creature y1Fields = test::creatureAt(200, 200, 1);
    y1Fields.stomach = 40;
    Creature y2Fields = test::creatureAt(200, 200, 1);
    y2Fields.stomach = 70;
    push(y1Fields);
    Creature& y2 = push(y2Fields);
    step({0, 0, 0});  // W, A, Y2
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[1], &a);
    EXPECT_EQ(order[2], &y2);
    EXPECT_EQ(a.stomach, 99 + 2 * 40);
    expectConsistent();
}

TEST_F(CreatureStep, OpponentAmongManyOnTheCellSkipsTheAttackerItself) {
    // Five creatures on one cell; the attacker is second, so the first other one is
    // the one before it.
    islands({{200, 200}});
    Creature first = test::creatureAt(200, 200, 1);
    first.stomach = 11;
    push(first);
    Creature& a = push(stressed(test::creatureAt(200, 200, 0), 12));
    for (int i = 0; i < 3; ++i) push(test::creatureAt(200, 200, 1));
    // first, A (attacks and eats first), then three of kind 1 (each blocked, +3)
    step({0, 0, 0, 0, 0});
    EXPECT_EQ(state.creatureList.front(), &a);
    EXPECT_EQ(a.stomach, 99 + 2 * 10);
    EXPECT_EQ(state.creatureList.size(), 4u);
    expectConsistent();
}

TEST_F(CreatureStep, CreatureThatMovedOntoTheCellThisTickIsAnOpponent) {
    // C moves from L onto P and marks it; A on P cannot move (off the plate), finds
    // its cell taken by the other kind and attacks: C is on P now.
    islands({{199, 200}, {200, 200}});
    Creature& c = push(test::creatureAt(199, 200, 1, 2));
    Creature& a = push(stressed(test::creatureAt(200, 200, 0, 0), 12));
    (void)c;
    step({0, 0});
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.creatureList.front(), &a);
    EXPECT_EQ(a.stomach, 99 + 2 * 99);
    expectConsistent();
}

TEST_F(CreatureStep, CreatureThatMovedOntoTheCellThisTickComesFirstAmongThree) {
    islands({{199, 200}, {200, 200}});
    Creature cFields = test::creatureAt(199, 200, 1, 2);
    cFields.stomach = 31;
    push(cFields);
    Creature& a = push(stressed(test::creatureAt(200, 200, 0, 0), 12));
    Creature& d = push(test::creatureAt(200, 200, 1, 0));
    step({0, 0, 0});
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &a);
    EXPECT_EQ(order[1], &d);
    EXPECT_EQ(a.stomach, 99 + 2 * 30);
    expectConsistent();
}

TEST_F(CreatureStep, CreatureThatLeftTheCellThisTickIsNoOpponent) {
    // E leaves P for L and marks L; A on P is blocked from L on its unmarked cell
    // and attacks with nobody left on P.
    islands({{199, 200}, {200, 200}});
    Creature& e = push(test::creatureAt(200, 200, 1, 6));
    Creature& a = push(stressed(test::creatureAt(200, 200, 0, 6), 12));
    step({0, 0});
    EXPECT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(e.x, 199);
    EXPECT_EQ(a.x, 200);
    EXPECT_EQ(a.stress, 15);
    EXPECT_EQ(a.stomach, 99);
    expectConsistent();
}

TEST_F(CreatureStep, OpponentSearchSeesCreaturesAfterAnEarlierRemoval) {
    // Two attacks on one cell in one tick: A1 eats X, then A2 finds A1 (the only
    // other creature left on the cell) and, A1 being unstressed after eating, eats it.
    islands({{200, 200}});
    Creature& x = push(test::creatureAt(200, 200, 1));
    Creature& a1 = push(stressed(test::creatureAt(200, 200, 0), 12));
    Creature& a2 = push(stressed(test::creatureAt(200, 200, 1), 12));
    (void)x;
    (void)a1;
    step({0, 0, 0});
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.creatureList.front(), &a2);
    EXPECT_EQ(a2.stomach, 99 + 2 * (99 + 2 * 99));
    EXPECT_EQ(state.kindCount[0], 0);
    EXPECT_EQ(state.kindCount[1], 1);
    expectConsistent();
}

TEST_F(CreatureStep, OpponentIsFirstInListOrderAfterManyInsertionsBehindOneCreature) {
    // Forty creatures inserted one after another directly behind M (as a parent's
    // births are), all on M's cell; the attacker comes last.  The first other
    // creature in list order is still M.
    islands({{200, 200}});
    Creature mFields = test::creatureAt(200, 200, 0);
    mFields.stomach = 33;
    Creature& m = push(mFields);
    for (int i = 0; i < 40; ++i) {
        changeCurrentElement(state.creatureList, &m);
        scriptDraws(state.random, {0});
        ASSERT_TRUE(placeCreatureByHand(state, test::defaultPlacement(200, 200)));
    }
    ASSERT_EQ(state.creatureList.front(), &m);
    ASSERT_EQ(test::listProblems(state.creatureList), "");
    Creature& a = push(stressed(test::creatureAt(200, 200, 1), 12));
    // M marks the cell; each placed creature is blocked on its kin's mark (+10, not
    // above 10); A is blocked on a foreign mark (+3) and attacks.
    step(std::vector<std::int32_t>(42, 0));
    EXPECT_NE(state.creatureList.front(), &m);  // M was eaten
    EXPECT_EQ(a.stomach, 99 + 2 * 32);
    EXPECT_EQ(state.creatureList.size(), 41u);
    expectConsistent();
}

// The same searches after an earlier attack of the tick: Z2 eats Z1 on the one-cell
// island Z first, so the later search must see every move and birth since then.
class LaterAttack : public CreatureStep {
protected:
    void earlierAttack() {
        push(test::creatureAt(100, 100, 0));
        z2 = &push(stressed(test::creatureAt(100, 100, 1), 12));
    }
    Creature* z2 = nullptr;
};

TEST_F(LaterAttack, FindsACreatureThatMovedOntoTheCellAfterTheEarlierAttack) {
    islands({{100, 100}, {199, 200}, {200, 200}});
    earlierAttack();
    push(test::creatureAt(199, 200, 1, 2));  // C: moves onto P
    Creature& a = push(stressed(test::creatureAt(200, 200, 0, 0), 12));
    step({0, 0, 0, 0});
    ASSERT_EQ(state.creatureList.size(), 2u);  // Z1 and C eaten
    EXPECT_EQ(z2->stomach, 99 + 2 * 99);
    EXPECT_EQ(a.stomach, 99 + 2 * 99);
    expectConsistent();
}

TEST_F(LaterAttack, IgnoresACreatureThatLeftTheCellAfterTheEarlierAttack) {
    islands({{100, 100}, {199, 200}, {200, 200}});
    earlierAttack();
    Creature& e = push(test::creatureAt(200, 200, 1, 6));  // leaves P for L
    Creature& a = push(stressed(test::creatureAt(200, 200, 0, 6), 12));
    step({0, 0, 0, 0});
    ASSERT_EQ(state.creatureList.size(), 3u);
    EXPECT_EQ(e.x, 199);
    EXPECT_EQ(e.stomach, 99);
    EXPECT_EQ(a.stress, 15);
    EXPECT_EQ(a.stomach, 99);
    expectConsistent();
}

TEST_F(LaterAttack, FindsAChildBornAfterTheEarlierAttack) {
    // M (red) gives birth to K on P; E (blue) eats M; then A (red) finds K, which
    // comes before E in the list, and eats it as kin.
    islands({{100, 100}, {200, 200}});
    earlierAttack();
    Creature mFields = test::creatureAt(200, 200, 1);
    mFields.age = 320;
    push(mFields);
    Creature& e = push(stressed(test::creatureAt(200, 200, 0), 12));
    Creature& a = push(stressed(test::creatureAt(200, 200, 1), 12));
    std::vector<std::int32_t> draws{0, 0, 0};  // Z1, Z2, M
    plainBirth(draws, 0);
    draws.insert(draws.end(), {0, 0});  // E, A
    step(draws);
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], z2);
    EXPECT_EQ(order[1], &e);
    EXPECT_EQ(order[2], &a);
    EXPECT_EQ(e.stomach, 99 + 2 * 49);
    EXPECT_EQ(a.stomach, 99 + 49);
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_EQ(state.kindCount[1], 2);
    expectConsistent();
}

// --- mutual removal ----------------------------------------------------------------

// Q (red, stressed) marks P; A (blue, stress 12) is blocked on P's foreign mark,
// reaches 15 and attacks Q, which is stressed too: both are removed.

TEST_F(CreatureStep, MutualRemovalInTheMiddleMakesTheSuccessorTheSubject) {
    islands({{100, 100}, {200, 200}, {300, 300}});
    test::setCell(state, 300, 300, 2);
    Creature& f = push(test::creatureAt(100, 100, 0));
    push(stressed(test::creatureAt(200, 200, 1), 20));
    push(stressed(test::creatureAt(200, 200, 0), 12));
    Creature sFields = test::creatureAt(300, 300, 1, 3);
    sFields.stomach = 50;
    sFields.age = 7;
    Creature& s = push(sFields);
    step({0, 0, 0});  // F, Q, A; S is never visited
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &f);
    EXPECT_EQ(order[1], &s);
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_EQ(state.kindCount[1], 1);
    // S: marked and fed, but no hunger, no ageing, no turn, no move.
    EXPECT_EQ(test::mark(state, 300, 300), 2);
    EXPECT_EQ(s.stomach, 50 + 6);
    EXPECT_EQ(s.age, 7);
    EXPECT_EQ(s.direction, 3);
    EXPECT_EQ(test::cell(state, 300, 300), 0);
    ASSERT_EQ(state.nutriumList.size(), 1u);
    EXPECT_EQ(state.nutriumList.front()->x, 300);
    EXPECT_EQ(test::mark(state, 200, 200), 2);  // Q's mark stays
    EXPECT_EQ(f.stomach, 99);
    expectConsistent();
}

TEST_F(CreatureStep, MutualRemovalWithAnOpponentNotYetVisited) {
    // W marks R; A is blocked from R on its unmarked cell P and attacks Q, which
    // comes after it.  Removing Q makes A current again, removing A makes W current,
    // and S after them becomes the subject.
    islands({{200, 200}, {201, 200}, {300, 300}});
    test::setCell(state, 300, 300, 2);
    Creature& w = push(test::creatureAt(201, 200, 0, 2));
    push(stressed(test::creatureAt(200, 200, 0, 2), 12));
    push(stressed(test::creatureAt(200, 200, 1), 20));
    Creature& s = push(test::creatureAt(300, 300, 1, 3));
    step({0, 0});  // W, A
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &w);
    EXPECT_EQ(order[1], &s);
    EXPECT_EQ(s.stomach, 106);
    EXPECT_EQ(s.age, 0);
    EXPECT_EQ(test::mark(state, 300, 300), 2);
    EXPECT_EQ(test::mark(state, 200, 200), 0);  // neither A nor Q marked P
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_EQ(state.kindCount[1], 1);
    expectConsistent();
}

TEST_F(CreatureStep, MutualRemovalAtTheFrontSkipsTheSuccessor) {
    islands({{100, 100}, {200, 200}, {300, 300}});
    test::setCell(state, 100, 100, 1);
    test::setCell(state, 300, 300, 2);
    push(stressed(test::creatureAt(200, 200, 1), 20));
    push(stressed(test::creatureAt(200, 200, 0), 12));
    Creature& b = push(test::creatureAt(100, 100, 0, 1));
    Creature cFields = test::creatureAt(300, 300, 1, 5);
    cFields.age = 9;
    Creature& c = push(cFields);
    step({0, 0});  // Q, A
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &b);
    EXPECT_EQ(order[1], &c);
    // B is not visited at all.
    EXPECT_EQ(b.stomach, 100);
    EXPECT_EQ(b.age, 0);
    EXPECT_EQ(test::mark(state, 100, 100), 0);
    EXPECT_EQ(test::cell(state, 100, 100), 1);
    // C goes through marking and eating only.
    EXPECT_EQ(c.stomach, 106);
    EXPECT_EQ(c.age, 9);
    EXPECT_EQ(c.direction, 5);
    EXPECT_EQ(test::mark(state, 300, 300), 2);
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_EQ(state.kindCount[1], 1);
    expectConsistent();
}

TEST_F(CreatureStep, MutualRemovalAtTheFrontWithOneSuccessorMakesItTheSubject) {
    islands({{100, 100}, {200, 200}});
    test::setCell(state, 100, 100, 1);
    push(stressed(test::creatureAt(200, 200, 1), 20));
    push(stressed(test::creatureAt(200, 200, 0), 12));
    Creature& b = push(test::creatureAt(100, 100, 1, 1));
    step({0, 0});
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(b.stomach, 103);  // eats, without hunger
    EXPECT_EQ(b.age, 0);
    EXPECT_EQ(test::mark(state, 100, 100), 2);
    expectConsistent();
}

TEST_F(CreatureStep, MutualRemovalAtTheEndRunsThePredecessorsLaterStepsAgain) {
    // B comes between Q and A; its first birth fails for lack of memory, so after
    // the mutual removal B, the predecessor, passes maturity a second time and
    // gives birth then.
    islands({{100, 100}, {200, 200}});
    push(stressed(test::creatureAt(200, 200, 1), 20));
    Creature bFields = test::creatureAt(100, 100, 0);
    bFields.age = 40;
    bFields.maturityAge = 10;
    Creature& b = push(bFields);
    push(stressed(test::creatureAt(200, 200, 0), 12));
    std::vector<std::int32_t> draws{0, 0, 0};  // Q, B, A
    plainBirth(draws, 6);                      // B's second pass
    {
        test::FailAllocation failFirstBirth(1, state.creatureList);
        step(draws);
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &b);
    const Creature& child = *order[1];
    // 100 - 1 = 99, 40 + 1 = 41; halved twice: 49 / 20, then 24 / 10.
    EXPECT_EQ(b.stomach, 24);
    EXPECT_EQ(b.age, 10);
    EXPECT_EQ(child.stomach, 24);
    EXPECT_EQ(child.age, 0);
    EXPECT_EQ(child.direction, 6);
    EXPECT_EQ(state.kindCount[0], 2);
    EXPECT_EQ(state.kindCount[1], 0);
    expectConsistent();
}

TEST_F(CreatureStep, MutualRemovalOfTheLastTwoEndsTheTickQuietly) {
    islands({{200, 200}});
    push(stressed(test::creatureAt(200, 200, 1), 20));
    push(stressed(test::creatureAt(200, 200, 0), 12));
    step({0, 0});
    EXPECT_TRUE(state.creatureList.empty());
    EXPECT_EQ(state.creatureList.current(), nullptr);
    EXPECT_EQ(state.kindCount[0], 0);
    EXPECT_EQ(state.kindCount[1], 0);
    EXPECT_TRUE(plate.messages.shown.empty());
    EXPECT_EQ(test::mark(state, 200, 200), 2);
    EXPECT_EQ(test::listProblems(state.creatureList), "");
    // The next tick has nothing to do.
    step({});
    EXPECT_EQ(test::mark(state, 200, 200), 0);
}

TEST_F(CreatureStep, StressedKinIsAStandoffNotARemoval) {
    islands({{200, 200}});
    push(stressed(test::creatureAt(200, 200, 0), 20));
    Creature& a = push(stressed(test::creatureAt(200, 200, 0), 12));
    step({0, 0});
    EXPECT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(a.stress, 22 - 20);
    EXPECT_EQ(state.creatureList.front()->stress, 20 - 22);
}

// --- death -----------------------------------------------------------------------

TEST_F(CreatureStep, AgeKillsOnlyAboveMaxAge) {
    test::fillPlate(state, 0);
    Creature oldest = test::creatureAt(100, 100, 0, 4);
    oldest.maturityAge = 5000;  // no births in the way
    oldest.age = 1279;  // 1280 after this tick: equal is not above
    Creature& survivor = push(oldest);
    oldest.x = 200;
    oldest.age = 1280;  // 1281: dies
    push(oldest);
    step({0, 0});
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.creatureList.front(), &survivor);
    EXPECT_EQ(survivor.age, 1280);
    EXPECT_EQ(state.kindCount[0], 1);
    // The dead creature's mark stays for the rest of the tick.
    EXPECT_EQ(test::mark(state, 200, 101), 1);
    expectConsistent();
}

TEST_F(CreatureStep, HungerKillsBelowZeroUnlessTheCellFeedsIt) {
    test::fillPlate(state, 0);
    Creature starving = test::creatureAt(100, 100, 1, 4);
    starving.stomach = 1;  // 0 after this tick: survives
    Creature& survivor = push(starving);
    starving.x = 200;
    starving.stomach = 0;  // -1: dies
    push(starving);
    starving.x = 300;      // -1, then eats a cell of 1: 2
    Creature& fed = push(starving);
    test::setCell(state, 300, 101, 1);
    step({0, 0, 0});
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &survivor);
    EXPECT_EQ(order[1], &fed);
    EXPECT_EQ(survivor.stomach, 0);
    EXPECT_EQ(fed.stomach, 2);
    EXPECT_EQ(state.kindCount[1], 2);
    expectConsistent();
}

TEST_F(CreatureStep, DeathOfTheFirstCreatureSkipsItsSuccessorThisTick) {
    test::fillPlate(state, 0);
    Creature dying = test::creatureAt(100, 100, 0, 4);
    dying.age = 5000;
    push(dying);
    Creature& skipped = push(test::creatureAt(200, 100, 1, 4));
    Creature& visited = push(test::creatureAt(300, 100, 0, 4));
    step({0, 0});  // the dying one and the third
    ASSERT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(skipped.stomach, 100);
    EXPECT_EQ(skipped.y, 100);
    EXPECT_EQ(test::mark(state, 200, 100), 0);
    EXPECT_EQ(visited.stomach, 99);
    EXPECT_EQ(visited.y, 101);
    expectConsistent();
    step({0, 0});  // both visited next tick
    EXPECT_EQ(skipped.stomach, 99);
    EXPECT_EQ(visited.stomach, 98);
}

TEST_F(CreatureStep, DeathInTheMiddleSkipsNobody) {
    test::fillPlate(state, 0);
    Creature& first = push(test::creatureAt(100, 100, 0, 4));
    Creature dying = test::creatureAt(200, 100, 0, 4);
    dying.stomach = 0;
    push(dying);
    Creature& last = push(test::creatureAt(300, 100, 1, 4));
    step({0, 0, 0});
    ASSERT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(first.stomach, 99);
    EXPECT_EQ(last.stomach, 99);
    expectConsistent();
}

TEST_F(CreatureStep, DeathOfTheLastCreatureLeavesTheNewLastCurrent) {
    test::fillPlate(state, 0);
    push(test::creatureAt(100, 100, 0, 4));
    Creature dying = test::creatureAt(200, 100, 0, 4);
    dying.age = 2000;
    push(dying);
    step({0, 0});
    ASSERT_EQ(state.creatureList.size(), 1u);
    expectConsistent();
}

TEST_F(CreatureStep, DeathOfTheOnlyCreatureEmptiesTheList) {
    test::fillPlate(state, 0);
    Creature dying = test::creatureAt(200, 100, 1, 4);
    dying.stomach = 0;
    push(dying);
    step({0});
    EXPECT_TRUE(state.creatureList.empty());
    EXPECT_EQ(state.kindCount[1], 0);
    EXPECT_EQ(state.creatureList.current(), nullptr);
}

// --- maturity --------------------------------------------------------------------

TEST_F(CreatureStep, MaturityHalvesTheParentAndBearsAChildThatIsNotStepped) {
    test::fillPlate(state, 0);
    Creature parentFields = test::creatureAt(200, 200, 0, 2);
    parentFields.stomach = 302;
    parentFields.age = 320;
    parentFields.stress = 7;
    Creature& parent = push(parentFields);
    std::vector<std::int32_t> draws{0};
    plainBirth(draws, 5);
    step(draws);
    ASSERT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(parent.stomach, 150);  // 301 halved
    EXPECT_EQ(parent.age, 160);      // 321 halved
    const Creature& child = *state.creatureList.back();
    EXPECT_EQ(child.stomach, 150);
    EXPECT_EQ(child.age, 0);
    EXPECT_EQ(child.stress, 0);
    EXPECT_EQ(child.direction, 5);
    EXPECT_EQ(child.x, 201);  // the parent's cell after its move
    EXPECT_EQ(child.y, 200);
    EXPECT_EQ(state.kindCount[0], 2);
    EXPECT_EQ(test::mark(state, 201, 200), 1);
    expectConsistent();
}

TEST_F(CreatureStep, MaturityNeedsAnAgeAboveTheMaturityAge) {
    test::fillPlate(state, 0);
    Creature fields = test::creatureAt(200, 200, 1, 2);
    fields.age = 319;  // 320 after this tick
    Creature& c = push(fields);
    step({0});
    EXPECT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(c.age, 320);
    EXPECT_EQ(c.stomach, 99);
}

TEST_F(CreatureStep, BirthDrawsFollowTheParentsTurnAndTheWalkGoesOnAfterTheChild) {
    test::fillPlate(state, 0);
    Creature parentFields = test::creatureAt(200, 200, 1, 2);
    parentFields.age = 400;
    Creature& parent = push(parentFields);
    Creature& next = push(test::creatureAt(300, 300, 0, 2));
    std::vector<std::int32_t> draws{3};  // parent: +1
    plainBirth(draws, 7);
    draws.push_back(9);  // next: -2
    step(draws);
    const std::vector<Creature*> order = test::creatures(state.creatureList);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], &parent);
    EXPECT_EQ(order[2], &next);
    EXPECT_EQ(parent.direction, 3);
    EXPECT_EQ(order[1]->direction, 7);
    EXPECT_EQ(next.direction, 0);
    EXPECT_EQ(next.stomach, 99);
    EXPECT_EQ(order[1]->stomach, 49);  // 99 halved; not stepped
    expectConsistent();
}

TEST_F(CreatureStep, AChildWithAnEmptyStomachStarvesInItsFirstTick) {
    test::fillPlate(state, 0);
    // A first creature keeps the parent's death from skipping the child.
    Creature& first = push(test::creatureAt(100, 100, 0, 4));
    Creature parentFields = test::creatureAt(200, 200, 0, 2);
    parentFields.stomach = 2;  // 1 after hunger, 0 after halving
    parentFields.age = 400;
    push(parentFields);
    std::vector<std::int32_t> draws{0, 0};
    plainBirth(draws, 2);
    step(draws);
    ASSERT_EQ(state.creatureList.size(), 3u);
    EXPECT_EQ(state.creatureList.back()->stomach, 0);
    step({0, 0, 0});  // the parent at -1 dies, then the child at -1
    ASSERT_EQ(state.creatureList.size(), 1u);
    EXPECT_EQ(state.creatureList.front(), &first);
    EXPECT_EQ(state.kindCount[0], 1);
    expectConsistent();
}

TEST_F(CreatureStep, FailedBirthKeepsTheHalvedParentAndGoesOn) {
    test::fillPlate(state, 0);
    Creature parentFields = test::creatureAt(200, 200, 0, 2);
    parentFields.stomach = 302;
    parentFields.age = 320;
    Creature& parent = push(parentFields);
    Creature& next = push(test::creatureAt(300, 300, 1, 2));
    {
        test::FailAllocation failBirth(1, state.creatureList);
        step({0, 0});  // no birth draws
    }
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
    EXPECT_EQ(state.creatureList.size(), 2u);
    EXPECT_EQ(parent.stomach, 150);
    EXPECT_EQ(parent.age, 160);
    EXPECT_EQ(next.stomach, 99);
    EXPECT_EQ(state.kindCount[0], 1);
    expectConsistent();
}

// --- eating --------------------------------------------------------------------

TEST_F(CreatureStep, EatingTakesTheWholeCellPastCapacityAndQueuesItsRepaint) {
    test::fillPlate(state, 0);
    // Two repaints queued already: the new one is appended after them.
    for (int i = 0; i < 2; ++i) {
        NutriumParticle* p = addElement(state.nutriumList);
        ASSERT_NE(p, nullptr);
        p->x = 7;
        p->y = static_cast<std::int16_t>(i);
        p->level = 5;
    }
    Creature fields = test::creatureAt(200, 200, 0, 4);
    fields.stomach = 639;
    Creature& c = push(fields);
    test::setCell(state, 200, 201, 4);
    step({0});
    EXPECT_EQ(c.stomach, 638 + 12);
    EXPECT_EQ(test::cell(state, 200, 201), 0);
    const std::vector<NutriumParticle> queued = test::particles(state.nutriumList);
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_EQ(queued[2].x, 200);
    EXPECT_EQ(queued[2].y, 201);
    EXPECT_EQ(queued[2].level, 0);
    EXPECT_EQ(state.nutriumList.current(), state.nutriumList.back());
}

TEST_F(CreatureStep, AFullStomachLeavesTheCell) {
    test::fillPlate(state, 0);
    Creature fields = test::creatureAt(200, 200, 0, 4);
    fields.stomach = 641;  // 640 after hunger: not below the capacity
    Creature& c = push(fields);
    test::setCell(state, 200, 201, 4);
    step({0});
    EXPECT_EQ(c.stomach, 640);
    EXPECT_EQ(test::cell(state, 200, 201), 4);
    EXPECT_TRUE(state.nutriumList.empty());
}

TEST_F(CreatureStep, EatingAStrongCellGainsThreeTimesItsLevel) {
    test::fillPlate(state, 0);
    Creature& c = push(test::creatureAt(200, 200, 1, 4));
    test::setCell(state, 200, 201, 32767);
    step({0});
    EXPECT_EQ(c.stomach, 99 + 3 * 32767);
    EXPECT_EQ(test::cell(state, 200, 201), 0);
}

TEST_F(CreatureStep, FailedRepaintKeepsTheMealAndReportsOnce) {
    test::fillPlate(state, 0);
    Creature& c = push(test::creatureAt(200, 200, 1, 4));
    test::setCell(state, 200, 201, 3);
    {
        test::FailAllocation failRepaint(1, state.nutriumList);
        step({0});
    }
    EXPECT_EQ(c.stomach, 99 + 9);
    EXPECT_EQ(test::cell(state, 200, 201), 0);
    EXPECT_TRUE(state.nutriumList.empty());
    ASSERT_EQ(plate.messages.shown.size(), 1u);
    EXPECT_EQ(plate.messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(plate.messages.shown[0].second, test::noMemoryText);
}

// --- the creature grid -------------------------------------------------------------

TEST_F(CreatureStep, CreatureGridHoldsExactlyThisTicksMarks) {
    test::fillPlate(state, 0);
    // Left-overs everywhere, as if from an earlier tick.
    for (std::int16_t& m : state.creatureGrid.cells) m = 2;
    push(test::creatureAt(100, 100, 0, 2));  // -> (101, 100), mark 1
    push(test::creatureAt(300, 300, 1, 4));  // -> (300, 301), mark 2
    step({0, 0});
    std::size_t marked = 0;
    for (std::int16_t m : state.creatureGrid.cells) marked += m != 0;
    EXPECT_EQ(marked, 2u);
    EXPECT_EQ(test::mark(state, 101, 100), 1);
    EXPECT_EQ(test::mark(state, 300, 301), 2);
    // Kept until the next step.
    EXPECT_EQ(test::mark(state, 101, 100), 1);
    step({0, 0});
    EXPECT_EQ(test::mark(state, 101, 100), 0);
    EXPECT_EQ(test::mark(state, 102, 100), 1);
}

TEST_F(CreatureStep, EmptyListTakesNoDrawsAndClearsTheMarks) {
    test::fillPlate(state, 0);
    test::setCell(state, 10, 10, 3);
    cellAt(state.creatureGrid, 5, 5) = 1;
    step({});
    EXPECT_EQ(test::mark(state, 5, 5), 0);
    EXPECT_EQ(test::cell(state, 10, 10), 3);
    EXPECT_EQ(state.creatureList.current(), nullptr);
}

}  // namespace
}  // namespace vivarix
