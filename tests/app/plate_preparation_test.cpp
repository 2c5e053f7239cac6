#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/pictures.h"
#include "app/plate_preparation.h"
#include "platform/core/colour.h"
#include "session/control_table.h"
#include "sim/plate_setup.h"

namespace vivarix {
namespace {

constexpr std::int32_t textureColour = rgb(200, 160, 230);

// A state with the working pictures and a plain lilac texture standing in for the
// built-in one, so that only plate preparation decides what the picture shows.
class PlatePreparation : public ::testing::Test {
protected:
    void SetUp() override {
        controls.setControlState(control::randomOption, 1);
        initialiseState(state, &controls, &stderrMessageBoxes(), 11);
        createWorkPictures(state);
        createImage(state.graphics, plateTextureImage, 460, 460);
        startDrawing(state.graphics, imageOutput(plateTextureImage));
        drawBox(state.graphics, 0, 0, 460, 460, textureColour);
        stopDrawing(state.graphics);
    }

    std::int32_t platePixel(std::int32_t x, std::int32_t y) {
        startDrawing(state.graphics, imageOutput(plateImage));
        const std::int32_t value = readPixel(state.graphics, x, y);
        stopDrawing(state.graphics);
        return value;
    }

    std::int32_t plateCells() const {
        std::int32_t n = 0;
        for (std::int32_t x = 0; x <= 460; ++x)
            for (std::int32_t y = 0; y <= 460; ++y) n += cellAt(state.plateGrid, x, y) != -1;
        return n;
    }

    HeadlessControls controls;
    AppState state;
};

TEST_F(PlatePreparation, FirstBuildLaysTextureRimAndDisc) {
    preparePlate(state);
    EXPECT_EQ(platePixel(230, 230), plateColour);  // queued nutrient is painted by the next frame
    EXPECT_EQ(platePixel(230, 9), white);   // the rim one pixel outside the disc
    EXPECT_EQ(platePixel(9, 230), white);
    EXPECT_EQ(platePixel(230, 8), textureColour);
    EXPECT_EQ(platePixel(450, 230), white);
    EXPECT_EQ(platePixel(451, 230), textureColour);
    EXPECT_EQ(platePixel(300, 2), textureColour);
}

TEST_F(PlatePreparation, TheGridIsTheGreyDisc) {
    preparePlate(state);
    const std::int32_t cells = plateCells();
    EXPECT_GT(cells, 151000);
    EXPECT_LT(cells, 153000);
    for (std::int32_t i = 0; i <= 460; ++i) {
        EXPECT_EQ(cellAt(state.plateGrid, 460, i), -1);
        EXPECT_EQ(cellAt(state.plateGrid, i, 460), -1);
        EXPECT_EQ(cellAt(state.plateGrid, i, 9), -1);
        EXPECT_EQ(cellAt(state.plateGrid, 450, i), -1);
    }
    EXPECT_NE(cellAt(state.plateGrid, 10, 230), -1);
    EXPECT_NE(cellAt(state.plateGrid, 449, 229), -1);
    EXPECT_EQ(cellAt(state.plateGrid, 470, 470), 0);  // margin never written
}

TEST_F(PlatePreparation, RandomNutrientIsQueuedExceptLevelTwo) {
    preparePlate(state);
    std::int32_t levelTwo = 0, queuedExpected = 0;
    for (std::int32_t x = 0; x <= 460; ++x)
        for (std::int32_t y = 0; y <= 460; ++y) {
            const std::int16_t cell = cellAt(state.plateGrid, x, y);
            if (cell == -1) continue;
            ASSERT_GE(cell, 1);
            ASSERT_LE(cell, 4);
            (cell == 2 ? levelTwo : queuedExpected) += 1;
        }
    EXPECT_EQ(static_cast<std::int32_t>(state.nutriumList.size()), queuedExpected);
    EXPECT_GT(levelTwo, 30000);
    // Queued in scan order, x outer.
    const NutriumParticle* previous = nullptr;
    for (const NutriumParticle* p = state.nutriumList.front(); p; p = NutriumList::after(p)) {
        ASSERT_EQ(p->level, cellAt(state.plateGrid, p->x, p->y));
        if (previous) {
            ASSERT_TRUE(p->x > previous->x || (p->x == previous->x && p->y > previous->y));
        }
        previous = p;
    }
}

TEST_F(PlatePreparation, EmptyNutrientLeavesABareDisc) {
    controls.setControlState(control::randomOption, 0);
    preparePlate(state);
    EXPECT_TRUE(state.nutriumList.empty());
    for (std::int32_t x = 10; x <= 449; x += 7)
        for (std::int32_t y = 10; y <= 449; y += 7) {
            const std::int16_t cell = cellAt(state.plateGrid, x, y);
            ASSERT_TRUE(cell == 0 || cell == -1);
        }
    EXPECT_EQ(platePixel(230, 230), plateColour);
}

TEST_F(PlatePreparation, LegendRingAndColourScale) {
    preparePlate(state);
    EXPECT_EQ(platePixel(13, 113), panelGrey);
    EXPECT_EQ(platePixel(13 - 9, 113), white);  // the one-pixel ring at the left
    EXPECT_EQ(platePixel(13 + 8, 113), white);  // and at the right (the disc spans x-r .. x+r-1)
    // Strips in rows 456..459: blue from column 1, red from column 459, the later
    // line winning where they overlap.
    for (std::int32_t row = 456; row <= 459; ++row) {
        EXPECT_EQ(platePixel(1, row), rgb(0, 0, 255));
        EXPECT_EQ(platePixel(459, row), rgb(255, 0, 0));
        EXPECT_EQ(platePixel(0, row), textureColour);  // column 0 keeps the background
        EXPECT_EQ(platePixel(204, row), rgb(0, 0, 0));     // red 0 (i = 255) drawn after blue 52
        EXPECT_EQ(platePixel(230, row), rgb(26, 0, 0));    // red 255 - 229 drawn after blue 26
        EXPECT_EQ(platePixel(231, row), rgb(0, 0, 25));
        EXPECT_EQ(platePixel(256, row), rgb(0, 0, 0));
    }
    EXPECT_EQ(platePixel(100, 455), textureColour);
}

TEST_F(PlatePreparation, ColumnsOfTheOverlapEndRedThenBlue) {
    preparePlate(state);
    for (std::int32_t column = 204; column <= 230; ++column) {
        const std::int32_t p = platePixel(column, 458);
        EXPECT_EQ(greenOf(p), 0);
        EXPECT_EQ(blueOf(p), 0) << column;
    }
    for (std::int32_t column = 231; column <= 256; ++column) EXPECT_EQ(redOf(platePixel(column, 458)), 0) << column;
}

TEST_F(PlatePreparation, InspectorPictureIsClearedToPanelGrey) {
    startDrawing(state.graphics, imageOutput(inspectorImage));
    drawBox(state.graphics, 0, 0, 245, 200, rgb(1, 2, 3));
    stopDrawing(state.graphics);
    preparePlate(state);
    const Image& inspector = state.graphics.images[inspectorImage];
    for (const std::uint32_t p : inspector.pixels) ASSERT_EQ(static_cast<std::int32_t>(p), panelGrey);
}

TEST_F(PlatePreparation, RebuildKeepsTheBackgroundAndCoversOldNutrient) {
    preparePlate(state);
    // Paint something inside the disc and outside it.
    startDrawing(state.graphics, imageOutput(plateImage));
    plotPixel(state.graphics, 230, 230, rgb(9, 9, 9));
    plotPixel(state.graphics, 2, 300, rgb(9, 9, 9));
    stopDrawing(state.graphics);
    newPlate(state);
    EXPECT_EQ(state.newPlateLatch, 1);
    EXPECT_NE(platePixel(230, 230), rgb(9, 9, 9));
    EXPECT_EQ(platePixel(2, 300), rgb(9, 9, 9));  // outside the disc: kept
    EXPECT_EQ(platePixel(230, 9), white);         // the first build's rim is still there
}

TEST_F(PlatePreparation, MembershipIsDecidedByColourAlone) {
    startDrawing(state.graphics, imageOutput(plateTextureImage));
    plotPixel(state.graphics, 3, 200, plateColour);
    stopDrawing(state.graphics);
    preparePlate(state);
    EXPECT_NE(cellAt(state.plateGrid, 3, 200), -1);
    EXPECT_EQ(cellAt(state.plateGrid, 3, 201), -1);
}

TEST_F(PlatePreparation, EveryNewPlateClickStartsANewPlate) {
    preparePlate(state);
    ASSERT_TRUE(placeCreature(state, 230, 230));
    newPlate(state);
    EXPECT_TRUE(state.creatureList.empty());
    EXPECT_EQ(state.kindCount[0], 0);
    ASSERT_TRUE(placeCreature(state, 230, 230));
    newPlate(state);  // a second click in a row rebuilds again
    EXPECT_TRUE(state.creatureList.empty());
    EXPECT_EQ(state.kindCount[0], 0);
}

TEST_F(PlatePreparation, NewPlateDrawsNewRandomNutrient) {
    preparePlate(state);
    const PlateGrid before = state.plateGrid;
    newPlate(state);
    EXPECT_NE(before.cells, state.plateGrid.cells);
    EXPECT_FALSE(state.nutriumList.empty());
}

TEST_F(PlatePreparation, PlacementRefusals) {
    preparePlate(state);
    EXPECT_EQ(placeCreature(state, 460, 230).refusal, PlaceRefusal::controlColumn);
    EXPECT_EQ(placeCreature(state, 5, 230).refusal, PlaceRefusal::offPlate);  // off the disc
    state.paused = 1;
    EXPECT_EQ(placeCreature(state, 230, 230).refusal, PlaceRefusal::paused);
    state.paused = 0;
    cellAt(state.creatureGrid, 230, 230) = 1;
    EXPECT_EQ(placeCreature(state, 230, 230).refusal, PlaceRefusal::occupied);  // a creature ended its move here
    cellAt(state.creatureGrid, 230, 230) = 0;
    EXPECT_TRUE(placeCreature(state, 230, 230));
    EXPECT_EQ(state.kindCount[0], 1);
    EXPECT_TRUE(state.creatureList.size() == 1);
}

}  // namespace
}  // namespace vivarix
