// Busy plates run for thousands of ticks with all three nutrient sources and
// placements now and then: after every tick the population's bookkeeping and every
// creature's invariants must hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/core/colour.h"
#include "platform/core/graphics.h"
#include "sim/creature_step.h"
#include "sim/feeding.h"
#include "sim/gene_colour.h"
#include "render/plate_view.h"
#include "sim/occupancy.h"
#include "sim/plate_setup.h"
#include "sim/tick.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {


// What one living creature must satisfy between ticks; empty when it does.
std::string creatureProblems(const SimState& state, const Creature& c) {
    if (c.kind != 0 && c.kind != 1) return "kind " + std::to_string(c.kind);
    if (c.x < 1 || c.x > 459 || c.y < 1 || c.y > 459)
        return "off the rectangle at " + std::to_string(c.x) + ", " + std::to_string(c.y);
    if (cellAt(state.plateGrid, c.x, c.y) == -1) return "on an off-plate cell";
    for (std::int16_t gene : {c.geneV, c.geneR, c.geneSr, c.geneRw, c.geneSl, c.geneL})
        if (gene < 0 || gene > 2) return "gene " + std::to_string(gene);
    if (c.direction < 0 || c.direction > 7) return "heading " + std::to_string(c.direction);
    if (c.colour != geneColour(c)) return "colour not derived from the genes";
    if (c.stomach < 0) return "a starved creature is alive";
    return {};
}

struct RunSetting {
    const char* name;
    std::uint64_t seed;
    std::int32_t discRadius;   // the plate: a plateColour disc about (230, 230)
    std::int32_t placeRadius;  // creatures are placed within this square about the centre
    int pileEvery;             // every so many ticks, four stressed creatures on one cell (0: never)
};

void PrintTo(const RunSetting& setting, std::ostream* os) { *os << setting.name; }

class PopulationRun : public ::testing::TestWithParam<RunSetting> {
protected:
    void SetUp() override {
        Graphics& g = state.graphics;
        ASSERT_NE(createImage(g, 33, 460, 460), 0);
        startDrawing(g, imageOutput(plateImage));
        drawCircle(g, 230, 230, GetParam().discRadius, plateColour);
        layOutPlateGrid(state, true);
        stopDrawing(g);
        clearList(state.nutriumList);
        offPlate.assign(state.plateGrid.cells.size(), false);
        for (std::size_t i = 0; i < offPlate.size(); ++i) offPlate[i] = state.plateGrid.cells[i] == -1;
    }

    // A left click at a random point of the placement square, of a random kind.
    bool clickSomewhere() {
        const std::int32_t r = GetParam().placeRadius;
        clickX = 230 + randomInt(state.random, 2 * r) - r;
        clickY = 230 + randomInt(state.random, 2 * r) - r;
        return placeCreatureByHand(state, test::defaultPlacement(clickX, clickY, randomInt(state.random, 1)));
    }

    void place(std::size_t count) {
        const std::size_t target = state.creatureList.size() + count;
        for (int attempt = 0; state.creatureList.size() < target && attempt < 100000; ++attempt) clickSomewhere();
        ASSERT_EQ(state.creatureList.size(), target);
    }

    // Four creatures placed on one free cell, each already one above its tolerance,
    // so that a blocked one attacks and searches among the others at once.
    void pile() {
        for (int attempt = 0; attempt < 1000; ++attempt) {
            if (!clickSomewhere()) continue;
            state.creatureList.current()->stress = 11;
            for (int more = 0; more < 3; ++more) {
                const std::int32_t kind = randomInt(state.random, 1);
                ASSERT_TRUE(placeCreatureByHand(state, test::defaultPlacement(clickX, clickY, kind)));
                state.creatureList.current()->stress = 11;
            }
            return;
        }
    }

    // Everything that must hold between two ticks.
    void checkTick(int tick) {
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        ASSERT_EQ(state.kindCount, test::census(state.creatureList));
        ASSERT_EQ(test::listProblems(state.creatureList), "");
        ASSERT_EQ(state.creatureList.current(), state.creatureList.back());

        // Creatures per cell, in list order.
        std::map<std::int32_t, std::vector<const Creature*>> onCell;
        for (const Creature* c = state.creatureList.front(); c; c = CreatureList::after(c)) {
            ASSERT_EQ(creatureProblems(state, *c), "");
            onCell[cellIndex(state.plateGrid, c->x, c->y)].push_back(c);
        }
        for (const auto& [cell, here] : onCell) sharedCells += here.size() >= 2;

        // Between steps the opponent index holds every creature where the step
        // left it: for every creature it names the first other creature in list
        // order on that creature's cell.
        if (state.occupancy.beforeValid) {
            ++indexedTicks;
            for (const auto& [cell, here] : onCell)
                for (const Creature* c : here) {
                    const Creature* expected = here[0] != c ? here[0] : here.size() > 1 ? here[1] : nullptr;
                    ASSERT_EQ(firstOtherOnCell(state.occupancy, state.creatureList, *c), expected)
                        << "cell " << c->x << ", " << c->y << " with " << here.size() << " creatures";
                }
        }

        ASSERT_EQ(test::listProblems(state.nutriumList), "");
        for (const NutriumParticle* p = state.nutriumList.front(); p; p = NutriumList::after(p)) {
            ASSERT_NE(cellAt(state.plateGrid, p->x, p->y), -1);
            ASSERT_GE(p->level, 0);
        }
        if (tick % 100 == 0) {
            for (std::size_t i = 0; i < offPlate.size(); ++i)
                ASSERT_EQ(state.plateGrid.cells[i] == -1, offPlate[i]) << "plate membership changed at " << i;
        }
    }

    test::TinyPlate plate{GetParam().seed};
    SimState& state = plate.state;
    std::vector<bool> offPlate;
    std::int32_t clickX = 0, clickY = 0;  // where the last click placed
    std::int64_t births = 0;
    std::int64_t removals = 0;
    std::int64_t sharedCells = 0;  // cells with two or more creatures, summed over ticks
    std::int64_t indexedTicks = 0;
};

TEST_P(PopulationRun, BookkeepingHoldsAfterEveryTick) {
    const RunSetting& setting = GetParam();
    place(200);
    for (int tick = 1; tick <= 3000; ++tick) {
        if (tick % 200 == 1) {  // the right button now held, now released
            const std::int32_t held = randomInt(state.random, 1);
            const std::int32_t r = setting.placeRadius;
            const std::int32_t x = 230 + randomInt(state.random, 2 * r) - r;
            const std::int32_t y = 230 + randomInt(state.random, 2 * r) - r;
            state.manualFeeding = test::feedingAt(x, y);
            state.manualFeeding.active = held;
        }
        std::int64_t sizeBefore = 0;
        for (const TickStage& stage : tickStages) {
            if (stage.run == stepCreatures) sizeBefore = static_cast<std::int64_t>(state.creatureList.size());
            stage.run(state);
        }
        // Children are not stepped in the tick of their birth: they are the creatures
        // of age 0 (give or take a newly placed creature that this tick skipped).
        std::int64_t born = 0;
        for (const Creature* c = state.creatureList.front(); c; c = CreatureList::after(c)) born += c->age == 0;
        births += born;
        removals += std::max<std::int64_t>(born + sizeBefore - static_cast<std::int64_t>(state.creatureList.size()), 0);
        checkTick(tick);
        if (HasFatalFailure()) return;

        clearList(state.nutriumList);  // the plate view's part of the frame
        if (tick % 500 == 0) place(20);
        if (state.creatureList.empty()) place(100);
        if (setting.pileEvery > 0 && tick % setting.pileEvery == 0) pile();
    }
    EXPECT_TRUE(plate.messages.shown.empty());
    // The runs reach what they are meant to cover.
    EXPECT_GT(births, 100);
    EXPECT_GT(removals, 100);
    EXPECT_GT(sharedCells, 100);
    EXPECT_GT(indexedTicks, 100);
}

// A whole plate seeded in its middle (two seeds), and a tiny plate where creatures
// pile up and attack among three and more on a cell.
INSTANTIATE_TEST_SUITE_P(Plates, PopulationRun,
                         ::testing::Values(RunSetting{"WholePlate", 1, 220, 25, 0},
                                           RunSetting{"WholePlateOtherSeed", 20240607, 220, 25, 0},
                                           RunSetting{"TinyCrowdedPlate", 7, 12, 8, 5}),
                         [](const ::testing::TestParamInfo<RunSetting>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vivarix
