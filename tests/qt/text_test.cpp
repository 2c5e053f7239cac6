// Text drawn into images: exact colours, no smoothing, Qt's own advance, clipping.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <climits>
#include <gtest/gtest.h>

#include "platform/core/colour.h"
#include "platform/qt/qt_desktop.h"
#include "render/plate_view.h"

namespace vivarix {
namespace {

// The font the renderer should make of "arial" at 8 points on a 96 dpi screen.
QFont arial8() {
    QFont font("arial");
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Image 1 of w by h filled with `background`, open for drawing in black with the plate's font.
struct Page {
    std::unique_ptr<TextRenderer> renderer = createQtTextRenderer();
    Graphics g;
    Page(std::int32_t w, std::int32_t h, std::int32_t background) {
        g.text = renderer.get();
        EXPECT_TRUE(loadFont(g, plateFont, "arial", 8));
        createImage(g, 1, w, h);
        startDrawing(g, imageOutput(1));
        drawBox(g, 0, 0, w, h, background);  // also makes the background the front colour
        setFrontColour(g, 0, 0, 0);
        setDrawingFont(g, plateFont);
    }
    std::int32_t at(std::int32_t x, std::int32_t y) const { return readPixel(g, x, y); }
    int count(std::int32_t colour) const {
        int n = 0;
        for (std::int32_t y = 0; y < g.images[1].height; ++y)
            for (std::int32_t x = 0; x < g.images[1].width; ++x) n += at(x, y) == colour;
        return n;
    }
    // The smallest rectangle holding every pixel that is not `background`.
    QRect inkBox(std::int32_t background) const {
        QRect box;
        for (std::int32_t y = 0; y < g.images[1].height; ++y)
            for (std::int32_t x = 0; x < g.images[1].width; ++x)
                if (at(x, y) != background) box |= QRect(x, y, 1, 1);
        return box;
    }
};

TEST(QtText, TheTestScreenHas96DpiAndArialIsLiberationSans) {
    // What the expectations below rest on (fonts-liberation2 provides the face).
    EXPECT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), 96.0);
    EXPECT_EQ(QFontInfo(arial8()).family(), QString("Liberation Sans"));
}

TEST(QtText, BlackOnWhiteHasNoOtherColours) {
    Page page(80, 20, white);
    setDrawingMode(page.g, 0);
    setFrontColour(page.g, 0, 0, 0);
    setTextPosition(page.g, 2, 3);
    drawText(page.g, "FPS: 60");
    const int black = page.count(0), background = page.count(white);
    EXPECT_GT(black, 40);
    EXPECT_EQ(black + background, 80 * 20) << "pixels of other colours: antialiasing";

    const int advance = QFontMetrics(arial8()).horizontalAdvance("FPS: 60");
    EXPECT_EQ(page.g.textX, 2 + advance);
    EXPECT_GE(advance, 30);
    EXPECT_LE(advance, 45);
    // The ink starts near the text position and stays within the advance and the
    // font's height (11 pixels, capitals about 8).
    const QRect ink = page.inkBox(white);
    EXPECT_GE(ink.left(), 2);
    EXPECT_GE(ink.top(), 3);
    EXPECT_LE(ink.right(), 2 + advance);
    EXPECT_LE(ink.bottom(), 3 + 11);
    EXPECT_GE(ink.height(), 7);
}

TEST(QtText, OpaqueModePaintsAWhiteBackground) {
    const std::int32_t green = rgb(0, 160, 0);
    Page page(80, 30, green);
    setDrawingMode(page.g, 0);
    setFrontColour(page.g, 0, 0, 0);
    setTextPosition(page.g, 4, 5);
    drawText(page.g, "FPS: 60");
    const QFontMetrics metrics(arial8());
    const QRect cell(4, 5, metrics.horizontalAdvance("FPS: 60"), metrics.height());
    EXPECT_GE(cell.height(), 11);
    EXPECT_LE(cell.height(), 13);
    EXPECT_EQ(page.inkBox(green), cell);
    for (std::int32_t y = cell.top(); y <= cell.bottom(); ++y)
        for (std::int32_t x = cell.left(); x <= cell.right(); ++x) {
            const std::int32_t p = page.at(x, y);
            ASSERT_TRUE(p == white || p == 0) << x << ", " << y << ": " << std::hex << p;
        }
}

TEST(QtText, TransparentModeKeepsTheBackgroundAndUsesTheExactColour) {
    const std::int32_t green = rgb(0, 160, 0), ink = rgb(1, 2, 3);  // three distinct components
    Page page(80, 20, green);
    setDrawingMode(page.g, drawTransparentText);
    setFrontColour(page.g, 1, 2, 3);
    setTextPosition(page.g, 0, 0);
    drawText(page.g, "FPS: 60");
    EXPECT_GT(page.count(ink), 40);
    EXPECT_EQ(page.count(ink) + page.count(green), 80 * 20);
}

TEST(QtText, ConsecutiveTextsContinueTheLine) {
    Page page(120, 20, white);
    setTextPosition(page.g, 1, 1);
    drawText(page.g, "FPS:");
    const std::int32_t afterFirst = page.g.textX;
    drawText(page.g, " 60");
    const QFontMetrics metrics(arial8());
    EXPECT_EQ(afterFirst, 1 + metrics.horizontalAdvance("FPS:"));
    EXPECT_EQ(page.g.textX, afterFirst + metrics.horizontalAdvance(" 60"));
    // The second text's ink lies right of the first one's end.
    bool inkAfter = false;
    for (std::int32_t x = afterFirst; x < page.g.textX; ++x)
        for (std::int32_t y = 0; y < 20; ++y) inkAfter = inkAfter || page.at(x, y) == 0;
    EXPECT_TRUE(inkAfter);
}

TEST(QtText, ClippedAtEveryEdge) {
    const struct {
        std::int32_t x, y;
    } places[] = {{-20, -5}, {30, -6}, {35, 12}, {-10, 10}, {INT_MAX - 5, 0}, {0, INT_MIN}, {INT_MIN, INT_MAX}};
    for (const auto& place : places) {
        Page page(40, 16, white);
        setTextPosition(page.g, place.x, place.y);
        drawText(page.g, "FPS: 60");
        EXPECT_EQ(page.count(0) + page.count(white), 40 * 16) << place.x << ", " << place.y;
    }
    // Partly inside: some ink shows.
    Page page(40, 16, white);
    setTextPosition(page.g, -15, -4);
    drawText(page.g, "FPS: 60");
    EXPECT_GT(page.count(0), 0);
}

TEST(QtText, SystemFontAndUnknownFontsDrawToo) {
    for (const std::int32_t font : {systemFont, 7}) {
        Page page(120, 30, white);
        setDrawingFont(page.g, font);
        setTextPosition(page.g, 0, 0);
        drawText(page.g, "FPS: 60");
        EXPECT_GT(page.g.textX, 0) << font;
        EXPECT_GT(page.count(0), 20) << font;
        EXPECT_EQ(page.count(0) + page.count(white), 120 * 30) << font;
    }
}

TEST(QtText, FontsNeedAPositiveSize) {
    const auto renderer = createQtTextRenderer();
    EXPECT_FALSE(renderer->loadFont(1, "arial", 0));
    EXPECT_FALSE(renderer->loadFont(1, "arial", -8));
    EXPECT_TRUE(renderer->loadFont(1, "arial", 8));
}

}  // namespace
}  // namespace vivarix
