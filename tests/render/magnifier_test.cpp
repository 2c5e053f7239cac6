// The magnifier: choosing the observed creature, the frame and highlight on the
// plate view, and the inspector picture with the enlarged area and the figures.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/colour.h"
#include "render/magnifier.h"
#include "render/plate_view.h"
#include "render/render_fixture.h"

namespace vivarix {
namespace {


constexpr std::int32_t scratchPicture = 60;

class Magnifier : public test::RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        state.magnifierOn = 1;
        state.magnifierX = 100;  // the area: columns 76..124, rows 130..170
        state.magnifierY = 150;
    }

    // The colour of the 5-by-5 block (bx, by) of image 10 when all its pixels agree,
    // else -2.
    std::int32_t block(std::int32_t bx, std::int32_t by) {
        const std::int32_t first = inspector(bx * 5, by * 5);
        for (std::int32_t i = 0; i < 5; ++i)
            for (std::int32_t j = 0; j < 5; ++j)
                if (inspector(bx * 5 + i, by * 5 + j) != first) return -2;
        return first;
    }
    // The block that shows plate cell (px, py).
    std::int32_t cell(std::int32_t px, std::int32_t py) {
        return block(px - state.magnifierX + 24, py - state.magnifierY + 20);
    }

    static std::int32_t count(const Image& image, std::int32_t colour) {
        std::int32_t n = 0;
        for (const std::uint32_t p : image.pixels) n += (p & 0xFFFFFFu) == static_cast<std::uint32_t>(colour);
        return n;
    }

    // The pixels of the platform's filled circle of radius r about (x, y), as a
    // 460-by-460 mask.
    std::vector<bool> disc(std::int32_t x, std::int32_t y, std::int32_t r) {
        fillImage(scratchPicture, 460, 460, black);
        startDrawing(state.graphics, imageOutput(scratchPicture));
        drawCircle(state.graphics, x, y, r, 0xFFFFFF);
        stopDrawing(state.graphics);
        std::vector<bool> mask(460 * 460);
        const Image& image = state.graphics.images[scratchPicture];
        for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = image.pixels[i] != 0;
        return mask;
    }
    static bool in(const std::vector<bool>& mask, std::int32_t x, std::int32_t y) {
        return mask[static_cast<std::size_t>(y) * 460 + static_cast<std::size_t>(x)];
    }

    // A creature of `kind` away from everything else on the plate view.
    Creature& addKind(std::int16_t kind, std::int32_t x, std::int32_t y) {
        Creature& c = addCreature(x, y, 100, kind == 1 ? rgb(117, 0, 0) : rgb(0, 0, 117));
        c.kind = kind;
        return c;
    }
};

// --- choosing the observed creature --------------------------------------------

TEST_F(Magnifier, SwitchedOnWithAnEmptyPlateItSwitchesItselfOffInTheSameFrame) {
    Creature stale{};
    state.selectedCreature = &stale;
    const std::vector<std::uint32_t> before = inspectorPicture().pixels;
    renderFrame(state);
    EXPECT_EQ(state.magnifierOn, 0);
    EXPECT_EQ(state.selectedCreature, nullptr);
    EXPECT_TRUE(text.wrote(23, 85, ": Off"));
    EXPECT_FALSE(text.wrote(23, 85, ": On"));
    EXPECT_EQ(inspectorPicture().pixels, before);
    EXPECT_TRUE(text.on(inspectorPicture()).empty());
    EXPECT_EQ(count(backBuffer(), magnifierGreen), 0);  // no frame either

    // It stays off: a creature placed afterwards is drawn by the creature pass.
    addKind(0, 200, 200);
    renderFrame(state);
    EXPECT_EQ(state.magnifierOn, 0);
    EXPECT_EQ(screen(200, 200), rgb(0, 0, 117));
    EXPECT_EQ(inspectorPicture().pixels, before);
}

TEST_F(Magnifier, WhileOffTheInspectorPictureAndTheSelectionStayAsTheyWere) {
    addKind(0, 100, 150);
    Creature& second = addKind(1, 101, 150);
    state.magnifierOn = 0;
    state.selectedCreature = &second;
    const std::vector<std::uint32_t> before = inspectorPicture().pixels;
    renderFrame(state);
    EXPECT_EQ(state.selectedCreature, &second);
    EXPECT_EQ(inspectorPicture().pixels, before);
    EXPECT_TRUE(text.on(inspectorPicture()).empty());
    EXPECT_EQ(count(backBuffer(), magnifierGreen), 0);
    EXPECT_EQ(screen(100, 150), rgb(0, 0, 117));  // the first creature is drawn by the pass
}

TEST_F(Magnifier, WhenTheObservedCreatureDiesTheNextFrameObservesTheNewFirst) {
    Creature& a = addKind(0, 100, 150);
    a.stomach = 150;
    Creature& b = addKind(1, 110, 155);
    b.stomach = 180;
    addKind(0, 300, 300);
    renderFrame(state);
    EXPECT_EQ(state.selectedCreature, &a);
    EXPECT_TRUE(text.wrote(5, 5, "Magen: 150 (0)"));
    EXPECT_EQ(inspector(24 * 5, 20 * 5), magnifierGreen);

    changeCurrentElement(state.creatureList, &a);
    deleteElement(state.creatureList);
    text.drawn.clear();
    renderFrame(state);
    EXPECT_EQ(state.magnifierOn, 1);
    EXPECT_EQ(state.selectedCreature, &b);
    EXPECT_TRUE(text.wrote(5, 5, "Magen: 180 (0)"));
    // The picture is redrawn whole: the old mark is gone, the new one is at b.
    EXPECT_EQ(cell(100, 150), emptiedCellColour);
    EXPECT_EQ(inspector(34 * 5, 25 * 5), magnifierGreen);
    EXPECT_EQ(inspector(34 * 5 + 2, 25 * 5 + 2), magnifiedKind1Colour);
    // And b is the one highlighted on the plate view.
    EXPECT_EQ(screen(110, 155), rgb(117, 0, 0));
    EXPECT_EQ(screen(111, 155), magnifierGreen);
}

// --- the frame and the highlight -----------------------------------------------

TEST_F(Magnifier, TheFrameOutlinesTheMagnifiedArea) {
    addKind(0, 400, 400);
    renderFrame(state);
    EXPECT_TRUE(text.wrote(23, 85, ": On"));
    for (std::int32_t x = 60; x <= 140; ++x)
        for (std::int32_t y = 120; y <= 180; ++y) {
            const bool column = (x == 76 || x == 123) && y >= 130 && y <= 169;
            const bool row = (y == 130 || y == 169) && x >= 76 && x <= 123;
            ASSERT_EQ(screen(x, y), column || row ? magnifierGreen : plateColour) << x << "," << y;
        }

    // At the top-left limit the frame runs along the edges of the view.
    state.magnifierX = 24;
    state.magnifierY = 20;
    renderFrame(state);
    EXPECT_EQ(screen(0, 0), magnifierGreen);
    EXPECT_EQ(screen(47, 0), magnifierGreen);
    EXPECT_EQ(screen(0, 39), magnifierGreen);
    EXPECT_EQ(screen(47, 39), magnifierGreen);
    EXPECT_EQ(screen(48, 0), plateColour);
    EXPECT_EQ(screen(0, 40), plateColour);
    EXPECT_EQ(screen(20, 20), plateColour);
}

TEST_F(Magnifier, ASmallObservedCreatureSitsOnAGreenDiscOverEverythingElse) {
    addKind(0, 200, 200);
    Creature& later = addCreature(190, 190, 1000, rgb(117, 0, 0));  // a 20-pixel square over it
    later.stress = 10;
    renderFrame(state);
    const std::vector<bool> ring = disc(200, 200, 2);
    for (std::int32_t x = 190; x < 210; ++x)
        for (std::int32_t y = 190; y < 210; ++y) {
            const std::int32_t expected = (x == 200 && y == 200) ? rgb(0, 0, 117) : in(ring, x, y) ? magnifierGreen : rgb(117, 0, 0);
            ASSERT_EQ(screen(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(screen(199, 200), magnifierGreen);
    EXPECT_EQ(screen(201, 200), magnifierGreen);
    EXPECT_EQ(screen(200, 199), magnifierGreen);
    EXPECT_EQ(screen(200, 201), magnifierGreen);
    EXPECT_EQ(screen(202, 200), rgb(117, 0, 0));
    EXPECT_EQ(screen(198, 198), rgb(117, 0, 0));
}

TEST_F(Magnifier, ASquareObservedCreatureGetsAGreenEdgeOnEverySide) {
    Creature& observed = addKind(0, 200, 200);
    observed.stomach = 250;  // side 5: 200..204
    observed.stress = 10;
    observed.stressTolerance = 10;
    Creature& later = addCreature(190, 190, 1000, rgb(117, 0, 0));
    later.stress = 10;
    renderFrame(state);
    for (std::int32_t x = 190; x < 210; ++x)
        for (std::int32_t y = 190; y < 210; ++y) {
            const bool inside = x >= 200 && x <= 204 && y >= 200 && y <= 204;
            const bool edge = !inside && x >= 199 && x <= 205 && y >= 199 && y <= 205;
            const std::int32_t expected = inside ? rgb(0, 0, 117) : edge ? magnifierGreen : rgb(117, 0, 0);
            ASSERT_EQ(screen(x, y), expected) << x << "," << y;
        }
}

TEST_F(Magnifier, ARoundObservedCreatureGetsAGreenRingOnePixelWide) {
    Creature& observed = addKind(0, 200, 200);
    observed.stomach = 300;  // radius 3
    observed.stress = 0;
    observed.stressTolerance = 10;
    Creature& later = addCreature(190, 190, 1000, rgb(117, 0, 0));
    later.stress = 10;
    renderFrame(state);
    const std::vector<bool> body = disc(200, 200, 3);
    const std::vector<bool> outer = disc(200, 200, 4);
    for (std::int32_t x = 190; x < 210; ++x)
        for (std::int32_t y = 190; y < 210; ++y) {
            const std::int32_t expected = in(body, x, y) ? rgb(0, 0, 117) : in(outer, x, y) ? magnifierGreen : rgb(117, 0, 0);
            ASSERT_EQ(screen(x, y), expected) << x << "," << y;
        }
    // Along the middle row: body 197..202, ring at 196 and 203.
    EXPECT_EQ(screen(196, 200), magnifierGreen);
    EXPECT_EQ(screen(197, 200), rgb(0, 0, 117));
    EXPECT_EQ(screen(202, 200), rgb(0, 0, 117));
    EXPECT_EQ(screen(203, 200), magnifierGreen);
    EXPECT_EQ(screen(204, 200), rgb(117, 0, 0));
    EXPECT_EQ(screen(200, 196), magnifierGreen);
    EXPECT_EQ(screen(200, 203), magnifierGreen);
}

TEST_F(Magnifier, TheHighlightLiesOverTheStatistics) {
    addKind(0, 255, 453);  // on the black slot-0 bar of kind 0
    addKind(0, 300, 300);
    state.colourStatsOn = 1;
    renderFrame(state);
    EXPECT_EQ(screen(255, 453), rgb(0, 0, 117));
    EXPECT_EQ(screen(255, 452), magnifierGreen);
    EXPECT_EQ(screen(255, 454), magnifierGreen);
    EXPECT_EQ(screen(255, 455), black);  // the bar below the disc
}

// --- the inspector picture -------------------------------------------------------

TEST_F(Magnifier, EveryCellOfTheAreaIsAFiveByFiveBlockInItsLevelsColour) {
    addKind(0, 300, 300);  // observed, outside the area
    cellAt(state.plateGrid, 100, 150) = 3;
    cellAt(state.plateGrid, 101, 150) = 260;  // the packed value borrows from the byte above
    cellAt(state.plateGrid, 99, 150) = -1;
    cellAt(state.plateGrid, 76, 130) = 1;
    cellAt(state.plateGrid, 124, 169) = 2;
    renderFrame(state);
    ASSERT_EQ(inspectorPicture().width, 245);
    ASSERT_EQ(inspectorPicture().height, 200);
    for (std::int32_t bx = 0; bx < 49; ++bx)
        for (std::int32_t by = 0; by < 40; ++by) {
            std::int32_t expected = emptiedCellColour;
            if (bx == 24 && by == 20) expected = rgb(247, 197, 110);
            if (bx == 25 && by == 20) expected = rgb(246, 195, 109);
            if (bx == 23 && by == 20) expected = black;
            if (bx == 0 && by == 0) expected = rgb(249, 199, 110);
            if (bx == 48 && by == 39) expected = rgb(248, 198, 110);
            ASSERT_EQ(block(bx, by), expected) << bx << "," << by;
        }
    EXPECT_EQ(count(inspectorPicture(), magnifierGreen), 0);
}

TEST_F(Magnifier, CellsOffThePlateOrBeyondItsSizeShowBlack) {
    addKind(0, 300, 300);
    // At the lower limits the first column and row are the plate's edge cells.
    state.magnifierX = 24;
    state.magnifierY = 20;
    renderFrame(state);
    for (std::int32_t i = 0; i < 40; ++i) {
        EXPECT_EQ(block(0, i), black) << i;
        EXPECT_EQ(block(i, 0), black) << i;
    }
    EXPECT_EQ(block(1, 1), emptiedCellColour);
    EXPECT_EQ(block(48, 39), emptiedCellColour);

    // At the right limit the last column is column plateWidth.
    state.magnifierX = 436;
    state.magnifierY = 440;
    renderFrame(state);
    for (std::int32_t by = 0; by < 40; ++by) {
        EXPECT_EQ(block(48, by), black) << by;
        EXPECT_EQ(block(47, by), emptiedCellColour) << by;
    }

    // Beyond the limits: cells left of column 0, above row 0 and right of column
    // plateWidth are black, even where the grid's unused margin holds a level.
    cellAt(state.plateGrid, 470, 15) = 5;
    cellAt(state.plateGrid, 461, 20) = 0;
    state.magnifierX = 450;
    state.magnifierY = 10;
    renderFrame(state);
    for (std::int32_t by = 0; by < 40; ++by)
        for (std::int32_t bx = 0; bx < 49; ++bx) {
            const std::int32_t px = 450 + bx - 24;
            const std::int32_t py = 10 + by - 20;
            const bool plate = px >= 1 && px <= 459 && py >= 1 && py <= 459;
            ASSERT_EQ(block(bx, by), plate ? emptiedCellColour : black) << px << "," << py;
        }
}

TEST_F(Magnifier, CreaturesInTheAreaAreBlocksInTheirKindsColour) {
    addKind(0, 300, 300);  // observed, outside the area
    addKind(0, 100, 150);
    addKind(1, 101, 150);
    addKind(2, 102, 150);
    addKind(1, 124, 150);  // on the right border: pixels 240..244
    addKind(0, 76, 130);   // the top-left corner
    addKind(1, 100, 169);  // the last visible row
    addKind(1, 100, 170);  // the row below the picture
    addKind(1, 125, 150);  // outside
    addKind(1, 100, 129);  // outside
    addKind(0, 110, 160);  // two on one cell: the later one shows
    addKind(1, 110, 160);
    addKind(1, 111, 160);
    addKind(0, 111, 160);
    cellAt(state.plateGrid, 100, 169) = 4;  // a creature covers its cell
    renderFrame(state);
    for (std::int32_t bx = 0; bx < 49; ++bx)
        for (std::int32_t by = 0; by < 40; ++by) {
            const std::int32_t px = bx + 76;
            const std::int32_t py = by + 130;
            std::int32_t expected = emptiedCellColour;
            if ((px == 100 || px == 102) && py == 150) expected = magnifiedKind0Colour;
            if (px == 101 && py == 150) expected = magnifiedKind1Colour;
            if (px == 124 && py == 150) expected = magnifiedKind1Colour;
            if (px == 76 && py == 130) expected = magnifiedKind0Colour;
            if (px == 100 && py == 169) expected = magnifiedKind1Colour;
            if (px == 110 && py == 160) expected = magnifiedKind1Colour;
            if (px == 111 && py == 160) expected = magnifiedKind0Colour;
            ASSERT_EQ(block(bx, by), expected) << px << "," << py;
        }
    for (std::int32_t x = 240; x <= 244; ++x) EXPECT_EQ(inspector(x, 100), magnifiedKind1Colour);
}

TEST_F(Magnifier, TheObservedCreatureIsMarkedInItsOwnKindColourOverTheOthers) {
    addKind(1, 100, 150);  // observed
    addKind(0, 100, 150);  // a later creature on its cell
    addKind(0, 105, 150);  // the last creature drawn before the mark
    renderFrame(state);
    for (std::int32_t i = 0; i < 5; ++i)
        for (std::int32_t j = 0; j < 5; ++j) {
            const bool inner = i >= 1 && i <= 3 && j >= 1 && j <= 3;
            ASSERT_EQ(inspector(120 + i, 100 + j), inner ? magnifiedKind1Colour : magnifierGreen) << i << "," << j;
        }
    EXPECT_EQ(cell(105, 150), magnifiedKind0Colour);
    EXPECT_EQ(count(inspectorPicture(), magnifierGreen), 16);
}

TEST_F(Magnifier, TheObservedCreatureIsMarkedWhenItIsAloneInTheArea) {
    addKind(0, 124, 130);  // observed, in the top-right corner of the area
    addKind(1, 300, 300);
    renderFrame(state);
    for (std::int32_t i = 0; i < 5; ++i)
        for (std::int32_t j = 0; j < 5; ++j) {
            const bool inner = i >= 1 && i <= 3 && j >= 1 && j <= 3;
            ASSERT_EQ(inspector(240 + i, j), inner ? magnifiedKind0Colour : magnifierGreen) << i << "," << j;
        }
    EXPECT_EQ(count(inspectorPicture(), magnifierGreen), 16);
}

TEST_F(Magnifier, NoMarkWhenTheObservedCreatureIsOutsideTheArea) {
    Creature& observed = addKind(1, 125, 150);
    addKind(0, 100, 150);
    addKind(1, 124, 170);
    renderFrame(state);
    EXPECT_EQ(count(inspectorPicture(), magnifierGreen), 0);
    EXPECT_EQ(cell(100, 150), magnifiedKind0Colour);

    observed.x = 100;
    observed.y = 171;
    renderFrame(state);
    EXPECT_EQ(count(inspectorPicture(), magnifierGreen), 0);

    // On the row below the picture it is inside the area but not seen.
    observed.y = 170;
    renderFrame(state);
    EXPECT_EQ(count(inspectorPicture(), magnifierGreen), 0);
    EXPECT_EQ(cell(100, 169), emptiedCellColour);
}

TEST_F(Magnifier, TheInspectorLinesComposeTheFigures) {
    Creature c{};
    c.stomach = 150;
    c.stomachCapacity = 640;
    c.age = 0;
    c.maxAge = 1280;
    c.sexMarker = 3;
    c.maturityAge = 320;
    c.stress = -3;
    c.stressTolerance = 10;
    c.kPoints = 1;
    c.geneV = 2;
    c.geneR = 0;
    c.geneSr = 1;
    c.geneRw = 12;
    c.geneSl = -1;
    c.geneL = 7;
    const std::vector<InspectorLine> lines = inspectorLines(c);
    const std::vector<std::pair<std::int32_t, std::string>> expected = {
        {5, "Magen: 150 (640)"}, {15, "Alter: 0 (1280)"}, {25, "Sex: 3 (320)"}, {35, "Stress: -3 (10)"},
        {45, "kPoints: 1"},      {65, "v: 2"},            {75, "r: 0"},         {85, "sr: 1"},
        {95, "rw: 12"},          {105, "sl: -1"},         {115, "l: 7"},
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].y, expected[i].first);
        EXPECT_EQ(lines[i].text, expected[i].second);
    }
}

TEST_F(Magnifier, TheInspectorWritesTheObservedCreatureInBlackOnImage10) {
    // A creature as a click places it at the panel's start-up positions.
    Creature& c = addKind(0, 100, 150);
    c.stomachCapacity = 640;
    c.maxAge = 1280;
    c.sexMarker = 3;
    c.maturityAge = 320;
    c.stress = -3;
    c.kPoints = 1;
    c.stomach = 150;
    c.geneV = c.geneR = c.geneSr = c.geneRw = c.geneSl = c.geneL = 2;
    addKind(1, 300, 300);
    renderFrame(state);

    const std::vector<test::RecordingText::Drawn> drawn = text.on(inspectorPicture());
    const std::pair<std::int32_t, const char*> expected[] = {
        {5, "Magen: 150 (640)"}, {15, "Alter: 0 (1280)"}, {25, "Sex: 3 (320)"}, {35, "Stress: -3 (10)"},
        {45, "kPoints: 1"},      {65, "v: 2"},            {75, "r: 2"},         {85, "sr: 2"},
        {95, "rw: 2"},           {105, "sl: 2"},          {115, "l: 2"},
    };
    ASSERT_EQ(drawn.size(), std::size(expected));
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(expected[i].second);
        EXPECT_EQ(drawn[i].x, 5);
        EXPECT_EQ(drawn[i].y, expected[i].first);
        EXPECT_EQ(drawn[i].text, expected[i].second);
        EXPECT_EQ(drawn[i].colour, 0);
        EXPECT_TRUE(drawn[i].transparent);
        EXPECT_EQ(drawn[i].font, plateFont);
        EXPECT_NE(drawn[i].y, 55);
    }
    // The texts leave the cells and the mark under them to the text renderer.
    EXPECT_EQ(inspector(120, 100), magnifierGreen);
}

TEST_F(Magnifier, TheStepsLeaveTheDrawingModeNormal) {
    addKind(0, 100, 150);
    startDrawing(state.graphics, screenOutput());
    chooseObservedCreature(state);
    ASSERT_EQ(state.selectedCreature, state.creatureList.front());
    setDrawingMode(state.graphics, drawTransparentText);
    drawMagnifierFrame(state);
    EXPECT_EQ(state.graphics.mode, 0);
    // The frame is outlined even though the step was entered in another mode.
    EXPECT_EQ(readPixel(state.graphics, 76, 130), magnifierGreen);
    EXPECT_EQ(readPixel(state.graphics, 90, 140), 0);
    stopDrawing(state.graphics);
}

}  // namespace
}  // namespace vivarix

namespace vivarix {
namespace {

// A followed creature in the middle of the list: the frame draws and counts every
// other creature once, in list order, and the followed one last; the magnified area
// is centred on it and the inspector describes it.
TEST_F(Magnifier, AFollowedCreatureInTheMiddleIsDrawnLastAndEveryOtherOnce) {
    Creature& a = addStrain(0, 1, 100, 100);
    Creature& followed = addStrain(0, 2, 130, 120);
    Creature& c = addStrain(0, 0, 100, 100);  // over a, on the same pixel
    Creature& d = addStrain(1, 1, 140, 125);
    Creature& e = addStrain(1, 1, 130, 120);  // under the followed one
    state.followed = &followed;
    state.magnifierOn = 1;
    state.colourStatsOn = 1;
    renderFrame(state);
    EXPECT_EQ(state.selectedCreature, &followed);
    EXPECT_EQ(state.magnifierX, 130);
    EXPECT_EQ(state.magnifierY, 120);
    EXPECT_EQ(screen(100, 100), c.colour);
    EXPECT_EQ(screen(140, 125), d.colour);
    EXPECT_EQ(screen(130, 120), followed.colour);
    EXPECT_EQ(colourFrequency(state.colourCounts[0], a.colour), 1);
    EXPECT_EQ(colourFrequency(state.colourCounts[0], c.colour), 1);
    EXPECT_EQ(colourFrequency(state.colourCounts[0], followed.colour), 0);
    EXPECT_EQ(colourFrequency(state.colourCounts[1], e.colour), 2);
    EXPECT_EQ(state.creatureList.current(), &e);
    // In the inspector: d in its kind's colour, the followed one marked green.
    EXPECT_EQ(inspector((140 - 130 + 24) * 5 + 2, (125 - 120 + 20) * 5 + 2), magnifiedKind1Colour);
    EXPECT_EQ(inspector(24 * 5, 20 * 5), magnifierGreen);
    EXPECT_TRUE(text.wrote(5, 5, "Magen: 100 (0)"));
}

}  // namespace
}  // namespace vivarix
