#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/colour.h"
#include "render/legend.h"
#include "render/plate_view.h"
#include "render/render_fixture.h"

namespace vivarix {
namespace {


// The shared renderer world: a plain plate, a plateColour plate picture, a black back
// buffer and a recording text renderer.
class PlateView : public test::RenderFixture {};

TEST_F(PlateView, NutrientColourDarkensWithTheNeighbourhood) {
    EXPECT_EQ(nutrientColour(0), rgb(250, 200, 110));
    EXPECT_EQ(nutrientColour(45) & 0xFFFFFF, rgb(205, 155, 110));
    // Above 200 the magnifierGreen component goes negative and borrows from blue.
    EXPECT_EQ(nutrientColour(260) & 0xFFFFFF, rgb(246, 195, 109));
}

TEST_F(PlateView, NeighbourhoodLeavesOutColumnAndRowZero) {
    for (std::int32_t x = 0; x <= 2; ++x)
        for (std::int32_t y = 0; y <= 2; ++y) cellAt(state.plateGrid, x, y) = 5;
    // Column 0 and row 0 are left out: only the four cells (1..2, 1..2) count.
    EXPECT_EQ(neighbourhoodSum(state, 1, 1), 20);
    // Column 460 and row 460 are counted, with their -1.
    EXPECT_EQ(neighbourhoodSum(state, 459, 459), -5);
    cellAt(state.plateGrid, 100, 100) = 3;
    cellAt(state.plateGrid, 101, 101) = 4;
    EXPECT_EQ(neighbourhoodSum(state, 100, 100), 7);
}

TEST_F(PlateView, QueuedCellsArePaintedOnThePictureThenForgotten) {
    cellAt(state.plateGrid, 50, 50) = 2;
    cellAt(state.plateGrid, 51, 50) = 3;
    queue(50, 50, 2);
    queue(60, 60, 0);
    paintQueuedCells(state);
    EXPECT_TRUE(state.nutriumList.empty());
    EXPECT_EQ(picture(50, 50), rgb(245, 195, 110));  // sum 5 around (50, 50)
    EXPECT_EQ(picture(60, 60), emptiedCellColour);
    EXPECT_EQ(picture(51, 50), plateColour);  // a neighbour is not repainted
}

// A jump marks the queue after every tick and paints once: the picture a single
// frame after all those ticks would show.
TEST_F(PlateView, MarkedCellsPaintAsOneFrameAfterTheirTicks) {
    const auto changeAndQueue = [&](std::int32_t x, std::int32_t y, std::int16_t level) {
        cellAt(state.plateGrid, x, y) = level;
        queue(x, y, level);
    };
    std::vector<std::uint8_t> marked;
    changeAndQueue(90, 90, 3);
    changeAndQueue(91, 90, 0);
    markQueuedCells(state, marked);  // a tick
    EXPECT_TRUE(state.nutriumList.empty());
    changeAndQueue(90, 90, 0);
    changeAndQueue(92, 90, 7);
    markQueuedCells(state, marked);  // another
    paintMarkedCells(state, marked);
    const std::vector<std::uint32_t> jumped = state.graphics.images[plateImage].pixels;

    // The same changes painted by one frame over that picture: a cell painted
    // differently would show.
    for (const auto& [x, level] : {std::pair{90, 3}, {91, 0}, {90, 0}, {92, 7}})
        queue(static_cast<std::int16_t>(x), 90, static_cast<std::int16_t>(level));
    paintQueuedCells(state);
    EXPECT_EQ(state.graphics.images[plateImage].pixels, jumped);
    EXPECT_EQ(picture(90, 90), emptiedCellColour);
    EXPECT_EQ(picture(92, 90), nutrientColour(7));
    EXPECT_EQ(std::count(marked.begin(), marked.end(), 1), 0);
}

TEST_F(PlateView, TheLastEntryOfACellDecidesItsColour) {
    cellAt(state.plateGrid, 70, 70) = 4;
    queue(70, 70, 4);
    queue(70, 70, 0);
    queue(80, 80, 0);
    queue(80, 80, 1);
    cellAt(state.plateGrid, 80, 80) = 1;
    paintQueuedCells(state);
    EXPECT_EQ(picture(70, 70), emptiedCellColour);
    // The sand colour comes from the grid at drawing time, not from the queued level.
    EXPECT_EQ(picture(80, 80), nutrientColour(1));
}

TEST_F(PlateView, AnEmptyQueueLeavesThePictureAlone) {
    const std::vector<std::uint32_t> before = state.graphics.images[plateImage].pixels;
    paintQueuedCells(state);
    EXPECT_EQ(state.graphics.images[plateImage].pixels, before);
}

TEST_F(PlateView, CreatureShapesFollowStomachAndStress) {
    const std::int32_t blue = rgb(0, 0, 117);
    startDrawing(state.graphics, screenOutput());
    Creature small{};
    small.x = 100;
    small.y = 100;
    small.stomach = 199;
    small.colour = blue;
    drawCreature(state.graphics, small);
    Creature stressed = small;
    stressed.x = 200;
    stressed.stomach = 200;
    stressed.stress = 10;
    stressed.stressTolerance = 10;  // equal counts as stressed: a square
    drawCreature(state.graphics, stressed);
    Creature calm = stressed;
    calm.x = 300;
    calm.stress = 9;
    drawCreature(state.graphics, calm);
    stopDrawing(state.graphics);

    // One pixel.
    EXPECT_EQ(screen(100, 100), blue);
    EXPECT_EQ(screen(101, 100), 0);
    EXPECT_EQ(screen(100, 101), 0);
    // A square of side 4 from (200, 100).
    for (std::int32_t dx = 0; dx < 4; ++dx)
        for (std::int32_t dy = 0; dy < 4; ++dy) EXPECT_EQ(screen(200 + dx, 100 + dy), blue);
    EXPECT_EQ(screen(204, 100), 0);
    EXPECT_EQ(screen(199, 100), 0);
    // A circle of radius 2 about (300, 100): columns and rows 298..301, the
    // corners cut, so the top and bottom rows hold two pixels.
    EXPECT_EQ(screen(300, 100), blue);
    EXPECT_EQ(screen(298, 99), blue);
    EXPECT_EQ(screen(301, 100), blue);
    EXPECT_EQ(screen(300, 101), blue);
    EXPECT_EQ(screen(301, 101), 0);
    EXPECT_EQ(screen(298, 98), 0);
    EXPECT_EQ(screen(302, 100), 0);
    EXPECT_EQ(screen(300, 102), 0);
}

TEST_F(PlateView, BiggerStomachsMakeBiggerShapes) {
    startDrawing(state.graphics, screenOutput());
    Creature c{};
    c.x = 100;
    c.y = 100;
    c.stomach = 349;  // side 6
    c.colour = rgb(200, 0, 0);
    c.stress = 20;
    c.stressTolerance = 10;
    drawCreature(state.graphics, c);
    stopDrawing(state.graphics);
    EXPECT_EQ(screen(105, 105), rgb(200, 0, 0));
    EXPECT_EQ(screen(106, 105), 0);
}

TEST_F(PlateView, TheFrameIsThePictureWithTheCreaturesOverIt) {
    cellAt(state.plateGrid, 30, 30) = 1;
    queue(30, 30, 1);
    addCreature(200, 200, 100, rgb(0, 0, 117));
    addCreature(200, 200, 100, rgb(117, 0, 0));  // later creatures are drawn over earlier ones
    addCreature(250, 250, 300, rgb(0, 0, 50));
    renderFrame(state);
    EXPECT_EQ(screen(30, 30), nutrientColour(1));
    EXPECT_EQ(screen(200, 200), rgb(117, 0, 0));
    EXPECT_EQ(screen(250, 250), rgb(0, 0, 50));
    EXPECT_EQ(screen(400, 400), plateColour);
    EXPECT_TRUE(state.nutriumList.empty());
    // The walk leaves the last creature current, so a placement appends.
    EXPECT_EQ(state.creatureList.current(), state.creatureList.back());
}

TEST_F(PlateView, AnEmptyPlateLeavesTheListBeforeFirst) {
    renderFrame(state);
    EXPECT_EQ(state.creatureList.current(), nullptr);
    EXPECT_EQ(screen(200, 200), plateColour);
}

TEST_F(PlateView, EveryFrameLeavesTheLastCreatureCurrent) {
    // With the magnifier on or off, with one creature, several, or none (where the
    // magnifier switches itself off), the walk ends at the list's last creature.
    for (const std::int32_t magnifier : {0, 1}) {
        for (const int creatures : {1, 3, 0}) {
            SCOPED_TRACE(std::to_string(magnifier) + " / " + std::to_string(creatures));
            clearList(state.creatureList);
            for (int i = 0; i < creatures; ++i) addCreature(100 + i, 100, 100, rgb(0, 0, 117));
            if (Creature* first = state.creatureList.front()) changeCurrentElement(state.creatureList, first);
            state.magnifierOn = magnifier;
            state.colourStatsOn = 1;
            renderFrame(state);
            EXPECT_EQ(state.creatureList.current(), state.creatureList.back());
            // A creature placed now lands at the end of the list.
            if (creatures > 0) {
                Creature* placed = addElement(state.creatureList);
                EXPECT_EQ(placed, state.creatureList.back());
            }
        }
    }
}

TEST_F(PlateView, TheLegendWritesItsFiguresBesideTheIcons) {
    state.framesPerSecond = 61;
    state.kindCount = {12, 3, 0};
    state.autoFeedAmount = 80;
    state.colourStatsOn = 1;
    state.magnifierOn = 0;
    startDrawing(state.graphics, screenOutput());
    drawLegend(state);
    EXPECT_EQ(state.graphics.mode, 0);
    stopDrawing(state.graphics);
    struct Expected {
        std::int32_t x, y;
        const char* text;
    };
    const Expected expected[] = {{410, 5, "FPS: 61"}, {23, 5, ": 12"},  {23, 25, ": 3"},  {23, 45, ": 80"},
                                 {23, 65, ": On"},    {23, 85, ": Off"}, {23, 105, ": R"}};
    ASSERT_EQ(text.drawn.size(), std::size(expected));
    for (std::size_t i = 0; i < text.drawn.size(); ++i) {
        EXPECT_EQ(text.drawn[i].x, expected[i].x);
        EXPECT_EQ(text.drawn[i].y, expected[i].y);
        EXPECT_EQ(text.drawn[i].text, expected[i].text);
        EXPECT_EQ(text.drawn[i].colour, 0);
        EXPECT_TRUE(text.drawn[i].transparent);
        EXPECT_EQ(text.drawn[i].font, plateFont);
    }
}

TEST_F(PlateView, TheFrameRateReadsZeroBeforeItIsMeasured) {
    renderFrame(state);
    ASSERT_FALSE(text.drawn.empty());
    EXPECT_EQ(text.drawn.front().text, "FPS: 0");
}

}  // namespace
}  // namespace vivarix
