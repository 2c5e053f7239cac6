// The colour statistics: counting strains per kind, the bars over the colour scale
// and the two blocks of figures, alone and as steps of a frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/colour.h"
#include "render/colour_stats.h"
#include "render/plate_view.h"
#include "render/render_fixture.h"

namespace vivarix {
namespace {


constexpr std::int32_t statsBlue = 0xFF0000;  // (0, 0, 255)
constexpr std::int32_t statsRed = 0x0000FF;   // (255, 0, 0)

class ColourStats : public test::RenderFixture {
protected:
    const KindColourCounts& kind(std::int32_t k) const { return state.colourCounts[static_cast<std::size_t>(k)]; }

    // Counts every creature of the list, as a frame's creature pass does with the
    // magnifier off.
    void countList() {
        resetColourStats(state);
        for (const Creature* c = state.creatureList.front(); c; c = CreatureList::after(c)) countCreature(state, *c);
    }

    // The statistics drawn over the plate picture on the back buffer, as the frame
    // lays them down; the target stays open.
    void drawStatsOverPicture() {
        startDrawing(state.graphics, screenOutput());
        drawImage(state.graphics, imageHandle(state.graphics, plateImage), 0, 0);
        drawColourStats(state);
    }

    // The rows of `column` from 0 to 459 on the back buffer, as (first row, last row)
    // of the run in `colour` that ends at row 455; -1, -1 when row 455 is not in it.
    std::pair<std::int32_t, std::int32_t> barAt(std::int32_t column, std::int32_t colour) {
        if (screen(column, 455) != colour) return {-1, -1};
        std::int32_t top = 455;
        while (top > 0 && screen(column, top - 1) == colour) --top;
        return {top, 455};
    }
};

using Span = std::pair<std::int32_t, std::int32_t>;

// --- counting ----------------------------------------------------------------

TEST_F(ColourStats, StrainsAreListedPerKindInTheOrderTheyFirstAppear) {
    const std::int32_t b2 = addStrain(0, 2, 10, 10).colour;  // blue 117
    const std::int32_t b1 = addStrain(0, 1, 11, 10).colour;  // blue 186
    addStrain(0, 2, 12, 10);
    const std::int32_t r2 = addStrain(1, 2, 13, 10).colour;  // red 117
    const std::int32_t b0 = addStrain(0, 0, 14, 10).colour;  // colour value 0: slot 0
    const std::int32_t r1 = addStrain(1, 1, 15, 10).colour;
    addStrain(0, 1, 16, 10);
    addStrain(0, 1, 17, 10);
    ASSERT_EQ(b2, rgb(0, 0, 117));
    ASSERT_EQ(r2, rgb(117, 0, 0));
    ASSERT_EQ(b0, 0);
    countList();

    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0, b2, b1}));
    EXPECT_EQ(distinctColourCount(state, 0), 2);
    EXPECT_EQ(colourFrequency(kind(0), 0), 1);
    EXPECT_EQ(colourFrequency(kind(0), b2), 2);
    EXPECT_EQ(colourFrequency(kind(0), b1), 3);
    // The kinds are counted apart: the same colour value in the other kind is not met.
    EXPECT_EQ(kind(1).colours, (std::vector<std::int32_t>{0, r2, r1}));
    EXPECT_EQ(distinctColourCount(state, 1), 2);
    EXPECT_EQ(colourFrequency(kind(1), r2), 1);
    EXPECT_EQ(colourFrequency(kind(1), b2), 0);
    EXPECT_EQ(colourFrequency(kind(1), 0), 0);
}

TEST_F(ColourStats, ColourZeroIsCountedInSlotZeroAndNeverAppended) {
    addStrain(0, 0, 10, 10);
    addStrain(0, 0, 11, 10);
    countList();
    EXPECT_EQ(distinctColourCount(state, 0), 0);
    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0}));
    EXPECT_EQ(colourFrequency(kind(0), 0), 2);

    // A colour met after them still takes slot 1.
    const std::int32_t b2 = addStrain(0, 2, 12, 10).colour;
    countList();
    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0, b2}));
    EXPECT_EQ(colourFrequency(kind(0), 0), 2);
}

TEST_F(ColourStats, TheFirstStrainToReachTheHighestCountIsShown) {
    // Two strains of three each, interleaved: the blue-186 strain (genes 1) reaches 3
    // at the fifth creature, the blue-117 strain (genes 2) only at the sixth.
    addStrain(0, 2, 10, 10);
    addStrain(0, 1, 20, 10);
    addStrain(0, 1, 30, 10);
    addStrain(0, 2, 40, 10);
    Creature& third = addStrain(0, 1, 50, 10);
    addStrain(0, 2, 60, 10);
    countList();
    EXPECT_EQ(state.topColourFrequency[0], 3);
    EXPECT_EQ(state.topColourCreature[0].geneV, 1);
    EXPECT_EQ(state.topColourCreature[0].geneL, 1);
    EXPECT_EQ(state.topColourCreature[0].x, third.x);  // the third, not the first of the strain
    EXPECT_EQ(state.topColourFrequency[1], 0);

    drawStatsOverPicture();
    stopDrawing(state.graphics);
    EXPECT_TRUE(text.wrote(5, 380, "Max: 3"));
    EXPECT_TRUE(text.wrote(5, 390, "v  : 1"));
    EXPECT_TRUE(text.wrote(5, 440, "l  : 1"));
}

TEST_F(ColourStats, AnEqualCountLaterInTheListDoesNotTakeOver) {
    // The same strains with the blue-117 strain's third creature first.
    addStrain(0, 1, 10, 10);
    addStrain(0, 2, 20, 10);
    addStrain(0, 2, 30, 10);
    addStrain(0, 1, 40, 10);
    Creature& third = addStrain(0, 2, 50, 10);
    third.stomach = 150;  // other fields of the representative are copied too
    addStrain(0, 1, 60, 10);
    countList();
    EXPECT_EQ(state.topColourFrequency[0], 3);
    EXPECT_EQ(state.topColourCreature[0].geneSr, 2);
    EXPECT_EQ(state.topColourCreature[0].x, 50);
    EXPECT_EQ(state.topColourCreature[0].stomach, 150);
    EXPECT_EQ(state.topColourCreature[0].colour, rgb(0, 0, 117));
}

TEST_F(ColourStats, ResetForgetsEveryCountAndRepresentative) {
    // Enough distinct colour values, from the whole 24-bit range, to outgrow any
    // first table size, many of them equal in their low bits.
    resetColourStats(state);
    Creature c{};
    for (std::int32_t i = 1; i <= 3000; ++i) {
        c.colour = (i % 2 == 0) ? i * 4096 : 0xFFFFFF - i;
        c.kind = static_cast<std::int16_t>(i % 2);
        countCreature(state, c);
        if (i % 3 == 0) countCreature(state, c);
    }
    ASSERT_EQ(distinctColourCount(state, 0), 1500);
    ASSERT_EQ(distinctColourCount(state, 1), 1500);
    for (std::int32_t i = 1; i <= 3000; ++i) {
        const std::int32_t colour = (i % 2 == 0) ? i * 4096 : 0xFFFFFF - i;
        const std::size_t slot = static_cast<std::size_t>((i + 1) / 2);
        ASSERT_EQ(kind(i % 2).colours[slot], colour) << i;
        ASSERT_EQ(colourFrequency(kind(i % 2), colour), i % 3 == 0 ? 2 : 1) << i;
    }
    EXPECT_EQ(state.topColourFrequency[0], 2);

    resetColourStats(state);
    for (std::int32_t k = 0; k <= 1; ++k) {
        EXPECT_EQ(distinctColourCount(state, k), 0);
        EXPECT_EQ(kind(k).colours, (std::vector<std::int32_t>{0}));
        EXPECT_EQ(colourFrequency(kind(k), 0), 0);
        EXPECT_EQ(state.topColourFrequency[static_cast<std::size_t>(k)], 0);
        EXPECT_EQ(state.topColourCreature[static_cast<std::size_t>(k)].colour, 0);
        EXPECT_EQ(state.topColourCreature[static_cast<std::size_t>(k)].kind, 0);
    }
    EXPECT_EQ(colourFrequency(kind(0), 2 * 4096), 0);
    EXPECT_EQ(colourFrequency(kind(1), 0xFFFFFF - 1), 0);

    // Counting again after the reset starts from one.
    c.colour = 6 * 4096;
    c.kind = 0;
    countCreature(state, c);
    EXPECT_EQ(colourFrequency(kind(0), 6 * 4096), 1);
    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0, 6 * 4096}));
}

// --- bars --------------------------------------------------------------------

TEST_F(ColourStats, OneBlueCreatureStandsAtItsLevelBesideTheBlackSlotZeroBar) {
    addStrain(0, 2, 300, 100);  // blue 117
    countList();
    drawStatsOverPicture();
    stopDrawing(state.graphics);
    const std::int32_t blue117 = rgb(0, 0, 117);
    EXPECT_EQ(barAt(138, blue117), (Span{451, 455}));
    EXPECT_EQ(screen(138, 450), plateColour);
    EXPECT_EQ(screen(138, 456), plateColour);  // the bar stands on the strip, not in it
    EXPECT_EQ(barAt(255, black), (Span{452, 455}));
    EXPECT_EQ(screen(255, 451), plateColour);
    // Kind 1 has no creature: only its black slot-0 bar at column 205.
    EXPECT_EQ(barAt(205, black), (Span{452, 455}));
    EXPECT_EQ(screen(205, 451), plateColour);
    for (std::int32_t column = 0; column < 460; ++column) {
        if (column == 138 || column == 205 || column == 255) continue;
        for (std::int32_t row = 440; row <= 459; ++row)
            ASSERT_EQ(screen(column, row), plateColour) << column << "," << row;
    }
}

TEST_F(ColourStats, RedStrainsStandRightOfColumn205) {
    addStrain(1, 2, 300, 100);  // red 117
    addStrain(1, 2, 301, 100);
    addStrain(1, 1, 302, 100);  // red 186
    addStrain(1, 0, 303, 100);  // colour 0: one more pixel on the black bar
    countList();
    drawStatsOverPicture();
    stopDrawing(state.graphics);
    EXPECT_EQ(barAt(205 + 117, rgb(117, 0, 0)), (Span{450, 455}));
    EXPECT_EQ(barAt(205 + 186, rgb(186, 0, 0)), (Span{451, 455}));
    EXPECT_EQ(barAt(205, black), (Span{451, 455}));
    EXPECT_EQ(screen(205, 450), plateColour);
    EXPECT_EQ(barAt(255, black), (Span{452, 455}));
}

TEST_F(ColourStats, ALongBarReachesTheTopAndIsCutThere) {
    resetColourStats(state);
    Creature c{};
    c.kind = 0;
    c.colour = rgb(0, 0, 100);  // column 155
    for (int i = 0; i < 451; ++i) countCreature(state, c);
    c.colour = rgb(0, 0, 101);  // column 154
    for (int i = 0; i < 452; ++i) countCreature(state, c);
    c.colour = rgb(0, 0, 102);  // column 153
    for (int i = 0; i < 2000; ++i) countCreature(state, c);
    drawStatsOverPicture();
    stopDrawing(state.graphics);
    EXPECT_EQ(barAt(155, rgb(0, 0, 100)), (Span{1, 455}));
    EXPECT_EQ(screen(155, 0), plateColour);
    EXPECT_EQ(barAt(154, rgb(0, 0, 101)), (Span{0, 455}));
    EXPECT_EQ(barAt(153, rgb(0, 0, 102)), (Span{0, 455}));
    // Nothing spills beside the cut bar or below the start row.
    for (std::int32_t row = 0; row <= 459; ++row) {
        ASSERT_EQ(screen(152, row), plateColour) << row;
        ASSERT_EQ(screen(156, row), plateColour) << row;
    }
    EXPECT_EQ(screen(153, 456), plateColour);
}

TEST_F(ColourStats, LaterSlotsAreDrawnOverEarlierOnesInOneColumn) {
    // Colour values of one kind whose bars share column 245 (c mod 255 = 10).
    const std::int32_t tall = rgb(0, 0, 10);
    const std::int32_t shortOne = rgb(255, 0, 10);
    resetColourStats(state);
    Creature c{};
    c.kind = 0;
    c.colour = tall;
    for (int i = 0; i < 5; ++i) countCreature(state, c);
    c.colour = shortOne;
    countCreature(state, c);
    // And a kind 0 and a kind 1 strain that share column 225: kind 1 is drawn last.
    c.colour = rgb(0, 0, 30);
    for (int i = 0; i < 3; ++i) countCreature(state, c);
    c.kind = 1;
    c.colour = rgb(20, 0, 0);
    countCreature(state, c);
    drawStatsOverPicture();
    stopDrawing(state.graphics);

    EXPECT_EQ(barAt(245, shortOne), (Span{451, 455}));
    for (std::int32_t row = 447; row <= 450; ++row) EXPECT_EQ(screen(245, row), tall) << row;
    EXPECT_EQ(screen(245, 446), plateColour);
    EXPECT_EQ(barAt(225, rgb(20, 0, 0)), (Span{451, 455}));
    for (std::int32_t row = 449; row <= 450; ++row) EXPECT_EQ(screen(225, row), rgb(0, 0, 30)) << row;
    EXPECT_EQ(screen(225, 448), plateColour);
}

TEST_F(ColourStats, ATallerLaterSlotHidesAnEarlierBar) {
    resetColourStats(state);
    Creature c{};
    c.kind = 0;
    c.colour = rgb(0, 0, 10);
    countCreature(state, c);
    c.colour = rgb(255, 0, 10);
    for (int i = 0; i < 3; ++i) countCreature(state, c);
    drawStatsOverPicture();
    stopDrawing(state.graphics);
    EXPECT_EQ(barAt(245, rgb(255, 0, 10)), (Span{449, 455}));
    EXPECT_EQ(screen(245, 448), plateColour);
}

// --- figures -----------------------------------------------------------------

TEST_F(ColourStats, TheFiguresOfBothKindsAreWrittenInTheirColours) {
    Creature& blue = addStrain(0, 2, 300, 100);
    blue.geneR = 1;  // genes told apart (the colour is not recomputed: the figures read the genes)
    blue.geneSr = 0;
    blue.geneRw = 12;
    blue.geneSl = -3;
    countList();
    startDrawing(state.graphics, screenOutput());
    setDrawingMode(state.graphics, drawOutline);
    drawColourStats(state);
    EXPECT_EQ(state.graphics.mode, 0);
    stopDrawing(state.graphics);

    struct Expected {
        std::int32_t x, y;
        const char* text;
        std::int32_t colour;
    };
    const Expected expected[] = {
        {5, 380, "Max: 1", statsBlue},   {5, 390, "v  : 2", statsBlue},   {5, 400, "r  : 1", statsBlue},
        {5, 410, "sr : 0", statsBlue},   {5, 420, "rw : 12", statsBlue},  {5, 430, "sl : -3", statsBlue},
        {5, 440, "l  : 2", statsBlue},   {400, 380, "Max: 0", statsRed},  {400, 390, "v  : 0", statsRed},
        {400, 400, "r  : 0", statsRed},  {400, 410, "sr : 0", statsRed},  {400, 420, "rw  0", statsRed},
        {400, 430, "sl : 0", statsRed},  {400, 440, "l  : 0", statsRed},
    };
    ASSERT_EQ(text.drawn.size(), std::size(expected));
    for (std::size_t i = 0; i < text.drawn.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(text.drawn[i].x, expected[i].x);
        EXPECT_EQ(text.drawn[i].y, expected[i].y);
        EXPECT_EQ(text.drawn[i].text, expected[i].text);
        EXPECT_EQ(text.drawn[i].colour, expected[i].colour);
        EXPECT_TRUE(text.drawn[i].transparent);
        EXPECT_EQ(text.drawn[i].font, plateFont);
        EXPECT_EQ(text.drawn[i].target, &backBuffer());
    }
}

TEST_F(ColourStats, TheRedBlockWritesItsRepresentative) {
    addStrain(1, 1, 300, 100);
    addStrain(1, 2, 301, 100);
    addStrain(1, 1, 302, 100);
    countList();
    startDrawing(state.graphics, screenOutput());
    drawColourStats(state);
    stopDrawing(state.graphics);
    EXPECT_TRUE(text.wrote(400, 380, "Max: 2"));
    EXPECT_TRUE(text.wrote(400, 420, "rw  1"));
    EXPECT_TRUE(text.wrote(400, 440, "l  : 1"));
    EXPECT_TRUE(text.wrote(5, 380, "Max: 0"));
    EXPECT_TRUE(text.wrote(5, 420, "rw : 0"));
}

// --- as steps of the frame ----------------------------------------------------

TEST_F(ColourStats, SwitchedOffTheyKeepTheirLastValuesAndStartAfreshWhenOn) {
    const std::int32_t blue117 = rgb(0, 0, 117);
    const std::int32_t blue186 = rgb(0, 0, 186);
    addStrain(0, 2, 300, 100);
    addStrain(0, 2, 301, 100);
    state.colourStatsOn = 1;
    renderFrame(state);
    EXPECT_EQ(colourFrequency(kind(0), blue117), 2);
    EXPECT_EQ(barAt(138, blue117), (Span{450, 455}));
    EXPECT_TRUE(text.wrote(5, 380, "Max: 2"));

    // Off: the plate changes, nothing is counted or drawn, the values stay.
    addStrain(0, 1, 302, 100);
    addStrain(0, 1, 303, 100);
    addStrain(0, 1, 304, 100);
    state.colourStatsOn = 0;
    text.drawn.clear();
    renderFrame(state);
    EXPECT_EQ(colourFrequency(kind(0), blue117), 2);
    EXPECT_EQ(colourFrequency(kind(0), blue186), 0);
    EXPECT_EQ(distinctColourCount(state, 0), 1);
    EXPECT_EQ(state.topColourFrequency[0], 2);
    EXPECT_EQ(state.topColourCreature[0].x, 301);
    EXPECT_EQ(screen(138, 455), plateColour);
    EXPECT_EQ(screen(255, 455), plateColour);
    EXPECT_FALSE(text.wrote(5, 380, "Max: 2"));
    EXPECT_TRUE(text.wrote(23, 65, ": Off"));

    // On again: counted from zero, not added to the kept values.
    state.colourStatsOn = 1;
    text.drawn.clear();
    renderFrame(state);
    EXPECT_EQ(colourFrequency(kind(0), blue117), 2);
    EXPECT_EQ(colourFrequency(kind(0), blue186), 3);
    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0, blue117, blue186}));
    EXPECT_EQ(state.topColourFrequency[0], 3);
    EXPECT_EQ(state.topColourCreature[0].x, 304);
    EXPECT_EQ(barAt(69, blue186), (Span{449, 455}));
    EXPECT_TRUE(text.wrote(5, 380, "Max: 3"));
    EXPECT_TRUE(text.wrote(23, 65, ": On"));
}

TEST_F(ColourStats, TheFrameDrawsThemOverTheCreaturesBeforeTheLegend) {
    // A large creature where the black slot-0 bar of kind 0 stands.
    Creature& big = addStrain(1, 2, 250, 440);
    big.stomach = 1000;  // a 20-pixel square over columns 250..269, rows 440..459
    big.stress = 10;
    state.colourStatsOn = 1;
    renderFrame(state);
    const std::int32_t red117 = rgb(117, 0, 0);
    EXPECT_EQ(barAt(255, black), (Span{452, 455}));
    EXPECT_EQ(screen(255, 451), red117);
    EXPECT_EQ(screen(255, 456), red117);
    EXPECT_EQ(screen(254, 455), red117);
    // The figures are written before the legend, which is thus over them.
    ASSERT_GE(text.drawn.size(), 15u);
    EXPECT_EQ(text.drawn[0].text, "Max: 0");
    EXPECT_EQ(text.drawn[7].text, "Max: 1");
    EXPECT_EQ(text.drawn[14].text, "FPS: 0");
}

TEST_F(ColourStats, WithTheMagnifierOnTheObservedCreatureIsNotCounted) {
    addStrain(0, 1, 300, 100);  // observed: the first of the list
    addStrain(0, 2, 301, 100);
    addStrain(0, 2, 302, 100);
    addStrain(1, 2, 303, 100);
    state.colourStatsOn = 1;
    state.magnifierOn = 1;
    renderFrame(state);
    ASSERT_EQ(state.selectedCreature, state.creatureList.front());
    EXPECT_EQ(colourFrequency(kind(0), rgb(0, 0, 186)), 0);
    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0, rgb(0, 0, 117)}));
    EXPECT_EQ(colourFrequency(kind(0), rgb(0, 0, 117)), 2);
    EXPECT_EQ(state.topColourCreature[0].x, 302);
    EXPECT_EQ(colourFrequency(kind(1), rgb(117, 0, 0)), 1);
    EXPECT_EQ(screen(255 - 186, 455), plateColour);

    // Off again: every creature is counted.
    state.magnifierOn = 0;
    renderFrame(state);
    EXPECT_EQ(colourFrequency(kind(0), rgb(0, 0, 186)), 1);
    EXPECT_EQ(kind(0).colours, (std::vector<std::int32_t>{0, rgb(0, 0, 186), rgb(0, 0, 117)}));
}

}  // namespace
}  // namespace vivarix
