// Exact pixel coverage of the drawing primitives, the drawing-target lifecycle and
// the image store.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/colour.h"
#include "platform/core/graphics.h"

namespace vivarix {
namespace {

constexpr std::int32_t ink = 0x3366CC;

// A Graphics with a black w-by-h image under number 1, opened for drawing.
struct Canvas {
    Graphics g;
    Canvas(std::int32_t w, std::int32_t h) {
        EXPECT_EQ(createImage(g, 1, w, h), 2);
        startDrawing(g, imageOutput(1));
    }
    const Image& image() const { return g.images[1]; }
    std::int32_t width() const { return image().width; }
    std::int32_t height() const { return image().height; }
    std::uint32_t at(std::int32_t x, std::int32_t y) const {
        return image().pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width()) +
                              static_cast<std::size_t>(x)];
    }
    bool inked(std::int32_t x, std::int32_t y) const { return at(x, y) == ink; }
    int count() const {
        int n = 0;
        for (std::int32_t y = 0; y < height(); ++y)
            for (std::int32_t x = 0; x < width(); ++x) n += inked(x, y);
        return n;
    }
    // The picture as rows of '#' (ink) and '.' (anything else).
    std::vector<std::string> art() const {
        std::vector<std::string> rows;
        for (std::int32_t y = 0; y < height(); ++y) {
            std::string row;
            for (std::int32_t x = 0; x < width(); ++x) row += inked(x, y) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
};

using Covered = std::function<bool(int x, int y)>;

// Every pixel is ink exactly where `expected` says; reports the first few misses.
void expectCoverage(const Canvas& c, const Covered& expected, const std::string& what) {
    int misses = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.inked(x, y) != expected(x, y) && ++misses <= 5)
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is "
                              << (c.inked(x, y) ? "ink" : "not ink");
    EXPECT_EQ(misses, 0) << what;
}

bool within(int v, int lo, int hi) { return v >= lo && v <= hi; }

// --- drawBox --------------------------------------------------------------------

struct BoxCase {
    const char* name;
    int imageW, imageH;
    std::int32_t x, y, w, h;
    bool outline;
    Covered expected;
};

TEST(DrawBox, CoversExactlyItsPixels) {
    const std::vector<BoxCase> cases = {
        {"1x1 sets one pixel", 10, 10, 5, 5, 1, 1, false, [](int x, int y) { return x == 5 && y == 5; }},
        {"1x1 outline sets one pixel", 10, 10, 5, 5, 1, 1, true, [](int x, int y) { return x == 5 && y == 5; }},
        {"right and bottom edges excluded", 10, 10, 2, 4, 3, 2, false,
         [](int x, int y) { return within(x, 2, 4) && within(y, 4, 5); }},
        {"one column", 10, 10, 3, 1, 1, 6, false, [](int x, int y) { return x == 3 && within(y, 1, 6); }},
        {"one row", 10, 10, 1, 3, 6, 1, false, [](int x, int y) { return y == 3 && within(x, 1, 6); }},
        {"zero width draws nothing", 10, 10, 2, 2, 0, 5, false, [](int, int) { return false; }},
        {"zero height draws nothing", 10, 10, 2, 2, 5, 0, false, [](int, int) { return false; }},
        {"negative size draws nothing", 10, 10, 5, 5, -3, -3, false, [](int, int) { return false; }},
        {"outline is the one-pixel border", 10, 10, 1, 2, 6, 5, true,
         [](int x, int y) {
             return within(x, 1, 6) && within(y, 2, 6) && (x == 1 || x == 6 || y == 2 || y == 6);
         }},
        {"outline 2x2 is all border", 10, 10, 4, 4, 2, 2, true,
         [](int x, int y) { return within(x, 4, 5) && within(y, 4, 5); }},
        {"outline one pixel wide", 10, 10, 4, 1, 1, 7, true, [](int x, int y) { return x == 4 && within(y, 1, 7); }},
        {"clipped at the top-left", 10, 10, -3, -2, 6, 5, false,
         [](int x, int y) { return within(x, 0, 2) && within(y, 0, 2); }},
        {"clipped at the bottom-right", 10, 10, 7, 8, 50, 50, false,
         [](int x, int y) { return x >= 7 && y >= 8; }},
        {"larger than the image on every side", 10, 10, -5, -5, 30, 30, false, [](int, int) { return true; }},
        {"255x200 covers a 245x200 image", 245, 200, 0, 0, 255, 200, false, [](int, int) { return true; }},
        {"clipped outline keeps only its visible edges", 10, 10, -2, -2, 6, 6, true,
         [](int x, int y) { return (x == 3 && within(y, 0, 3)) || (y == 3 && within(x, 0, 3)); }},
        {"outline larger than the image shows nothing", 10, 10, -1, -1, 12, 12, true,
         [](int, int) { return false; }},
        {"entirely off the image", 10, 10, 10, 0, 5, 5, false, [](int, int) { return false; }},
        {"far off: no overflow past INT_MAX", 10, 10, INT_MAX - 1, 0, 10, 10, false, [](int, int) { return false; }},
        {"huge box from INT_MIN ends left of the image", 10, 10, INT_MIN, 0, INT_MAX, 3, false,
         [](int, int) { return false; }},
        {"huge box covering everything", 10, 10, -5, -5, INT_MAX, INT_MAX, false, [](int, int) { return true; }},
        {"huge outline has no visible edge", 10, 10, -5, -5, INT_MAX, INT_MAX, true,
         [](int, int) { return false; }},
    };
    for (const BoxCase& c : cases) {
        Canvas canvas(c.imageW, c.imageH);
        setDrawingMode(canvas.g, c.outline ? drawOutline : 0);
        drawBox(canvas.g, c.x, c.y, c.w, c.h, ink);
        expectCoverage(canvas, c.expected, c.name);
    }
}

TEST(DrawBox, OutlineLeavesTheInsideUntouched) {
    Canvas c(12, 12);
    drawBox(c.g, 0, 0, 12, 12, 0x0000FF);
    setDrawingMode(c.g, drawOutline);
    drawBox(c.g, 2, 3, 7, 5, ink);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool border = within(x, 2, 8) && within(y, 3, 7) && (x == 2 || x == 8 || y == 3 || y == 7);
            EXPECT_EQ(c.at(x, y), border ? std::uint32_t{ink} : 0x0000FFu) << x << "," << y;
        }
}

// --- drawCircle -------------------------------------------------------------------

TEST(DrawCircle, RadiusOneIsTheTwoByTwoSquareAtItsCorner) {
    for (const bool outline : {false, true}) {
        Canvas c(460, 460);
        setDrawingMode(c.g, outline ? drawOutline : 0);
        drawCircle(c.g, 13, 113, 1, ink);
        expectCoverage(c, [](int x, int y) { return within(x, 13, 14) && within(y, 113, 114); },
                       outline ? "outline r=1" : "r=1");
    }
}

TEST(DrawCircle, RadiusBelowOneDrawsNothing) {
    for (const std::int32_t r : {0, -1, -220, INT_MIN}) {
        Canvas c(20, 20);
        drawCircle(c.g, 10, 10, r, ink);
        EXPECT_EQ(c.count(), 0) << "r=" << r;
    }
}

TEST(DrawCircle, SmallDiscsAndRims) {
    struct Case {
        const char* name;
        std::int32_t r;
        bool outline;
        std::vector<std::string> art;  // drawn at (r, r) on a 2r-by-2r image
    };
    const std::vector<Case> cases = {
        {"r=2", 2, false, {".##.", "####", "####", ".##."}},
        {"r=3", 3, false, {".####.", "######", "######", "######", "######", ".####."}},
        {"r=4",
         4,
         false,
         {"..####..", ".######.", "########", "########", "########", "########", ".######.", "..####.."}},
        {"r=4 outline",
         4,
         true,
         {"..####..", ".#....#.", "#......#", "#......#", "#......#", "#......#", ".#....#.", "..####.."}},
    };
    for (const Case& k : cases) {
        Canvas c(2 * k.r, 2 * k.r);
        setDrawingMode(c.g, k.outline ? drawOutline : 0);
        drawCircle(c.g, k.r, k.r, k.r, ink);
        EXPECT_EQ(c.art(), k.art) << k.name;
    }
}

TEST(DrawCircle, LargeDiscSpansExactlyItsBox) {
    Canvas c(460, 460);
    drawCircle(c.g, 230, 230, 220, ink);
    int minX = 460, maxX = -1, minY = 460, maxY = -1;
    for (int y = 0; y < 460; ++y)
        for (int x = 0; x < 460; ++x)
            if (c.inked(x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 10);
    EXPECT_EQ(maxX, 449);
    EXPECT_EQ(minY, 10);
    EXPECT_EQ(maxY, 449);
    // The middle row and column run the full width.
    for (int i = 10; i <= 449; ++i) {
        EXPECT_TRUE(c.inked(i, 229) && c.inked(i, 230)) << i;
        EXPECT_TRUE(c.inked(229, i) && c.inked(230, i)) << i;
    }
    for (const int edge : {9, 450}) {
        EXPECT_FALSE(c.inked(edge, 229) || c.inked(edge, 230) || c.inked(229, edge) || c.inked(230, edge)) << edge;
    }
}

TEST(DrawCircle, DiscIsSymmetricRoundAndRowConvex) {
    for (const std::int32_t r : {2, 5, 17, 64, 220}) {
        const int size = 2 * r;
        Canvas c(size, size);
        drawCircle(c.g, r, r, r, ink);
        int area = 0;
        for (int y = 0; y < size; ++y) {
            int runs = 0;
            for (int x = 0; x < size; ++x) {
                const bool in = c.inked(x, y);
                area += in;
                if (in && (x == 0 || !c.inked(x - 1, y))) ++runs;
                // Mirror images about both axes of the box and about its diagonal.
                ASSERT_EQ(in, c.inked(size - 1 - x, y)) << "r=" << r << " at " << x << "," << y;
                ASSERT_EQ(in, c.inked(x, size - 1 - y)) << "r=" << r << " at " << x << "," << y;
                ASSERT_EQ(in, c.inked(y, x)) << "r=" << r << " at " << x << "," << y;
                // Far enough from the circle, the side of a pixel centre is unambiguous.
                const double dx = x + 0.5 - r;
                const double dy = y + 0.5 - r;
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < r - 0.75) {
                    ASSERT_TRUE(in) << "r=" << r << " inside at " << x << "," << y;
                }
                if (d > r + 0.75) {
                    ASSERT_FALSE(in) << "r=" << r << " outside at " << x << "," << y;
                }
            }
            EXPECT_EQ(runs, 1) << "r=" << r << " row " << y << " is not one span";
        }
        const double circle = 3.14159265358979 * r * r;
        EXPECT_NEAR(area, circle, 4.0 * r) << "r=" << r;
    }
}

TEST(DrawCircle, OutlineIsTheRimOfTheDisc) {
    for (const std::int32_t r : {2, 3, 9, 40, 220}) {
        const int size = 2 * r + 4;
        Canvas disc(size, size);
        drawCircle(disc.g, r + 2, r + 2, r, ink);
        Canvas rim(size, size);
        setDrawingMode(rim.g, drawOutline);
        drawCircle(rim.g, r + 2, r + 2, r, ink);
        int rimPixels = 0;
        for (int y = 1; y < size - 1; ++y)
            for (int x = 1; x < size - 1; ++x) {
                const bool onEdge = disc.inked(x, y) && !(disc.inked(x - 1, y) && disc.inked(x + 1, y) &&
                                                          disc.inked(x, y - 1) && disc.inked(x, y + 1));
                ASSERT_EQ(rim.inked(x, y), onEdge) << "r=" << r << " at " << x << "," << y;
                rimPixels += onEdge;
            }
        EXPECT_LT(rimPixels, disc.count()) << "r=" << r;
    }
}

TEST(DrawCircle, OutlineModeLeavesTheInsideUntouched) {
    Canvas c(40, 40);
    drawBox(c.g, 0, 0, 40, 40, 0x00FF00);
    setDrawingMode(c.g, drawOutline);
    drawCircle(c.g, 20, 20, 15, ink);
    EXPECT_EQ(c.at(20, 20), 0x00FF00u);
    EXPECT_EQ(c.at(10, 20), 0x00FF00u);
    EXPECT_EQ(c.at(5, 20), std::uint32_t{ink});  // leftmost column of the rim, x - r
    EXPECT_EQ(c.at(34, 19), std::uint32_t{ink});  // rightmost, x + r - 1
}

// A shape drawn on a small image must equal the matching window of the same shape
// drawn on an image large enough to hold it whole.
TEST(DrawCircle, ClippingMatchesTheUnclippedDisc) {
    const int w = 30, h = 20;
    const std::int32_t r = 25;
    const int margin = 2 * r + 2;  // offset of the small image inside the large one
    for (const bool outline : {false, true}) {
        for (const int cx : {-30, -10, 0, 3, 15, 29, 30, 50, 60})
            for (const int cy : {-30, -5, 0, 10, 19, 20, 44, 50}) {
                Canvas small(w, h);
                Canvas large(w + 2 * margin, h + 2 * margin);
                setDrawingMode(small.g, outline ? drawOutline : 0);
                setDrawingMode(large.g, outline ? drawOutline : 0);
                drawCircle(small.g, cx, cy, r, ink);
                drawCircle(large.g, cx + margin, cy + margin, r, ink);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        ASSERT_EQ(small.inked(x, y), large.inked(x + margin, y + margin))
                            << (outline ? "outline " : "") << "centre " << cx << "," << cy << " pixel " << x
                            << "," << y;
            }
    }
}

TEST(DrawCircle, HugeRadiusIsClippedNotOverflowed) {
    Canvas filled(10, 10);
    drawCircle(filled.g, 5, 5, INT_MAX, ink);
    EXPECT_EQ(filled.count(), 100);

    Canvas rim(10, 10);
    setDrawingMode(rim.g, drawOutline);
    drawCircle(rim.g, 5, 5, INT_MAX, ink);
    EXPECT_EQ(rim.count(), 0);  // the rim is far outside

    Canvas far(10, 10);
    drawCircle(far.g, INT_MAX, INT_MIN, 1000, ink);
    drawCircle(far.g, INT_MAX, INT_MAX, 1, ink);
    EXPECT_EQ(far.count(), 0);
}

// --- drawLine ---------------------------------------------------------------------

TEST(DrawLine, CoversItsPixelsWithoutTheEndPoint) {
    const std::vector<BoxCase> cases = {
        // BoxCase reused: (x, y, w, h) are the line's start and extent.
        {"vertical up from the bottom row", 460, 460, 7, 459, 0, -4, false,
         [](int x, int y) { return x == 7 && within(y, 456, 459); }},
        {"vertical down", 10, 10, 2, 1, 0, 3, false, [](int x, int y) { return x == 2 && within(y, 1, 3); }},
        {"horizontal right", 10, 10, 2, 3, 5, 0, false, [](int x, int y) { return y == 3 && within(x, 2, 6); }},
        {"horizontal left", 10, 10, 6, 3, -5, 0, false, [](int x, int y) { return y == 3 && within(x, 2, 6); }},
        {"diagonal down-right", 10, 10, 1, 1, 4, 4, false, [](int x, int y) { return x == y && within(x, 1, 4); }},
        {"diagonal up-left", 10, 10, 6, 6, -4, -4, false, [](int x, int y) { return x == y && within(x, 3, 6); }},
        {"anti-diagonal", 10, 10, 1, 5, 3, -3, false,
         [](int x, int y) { return x + y == 6 && within(x, 1, 3); }},
        {"zero length draws nothing", 10, 10, 4, 4, 0, 0, false, [](int, int) { return false; }},
        {"length one is its start pixel", 10, 10, 4, 4, 1, 0, false,
         [](int x, int y) { return x == 4 && y == 4; }},
        {"starts left of the image", 10, 10, -5, 2, 10, 0, false,
         [](int x, int y) { return y == 2 && within(x, 0, 4); }},
        {"runs off to the right", 10, 10, 0, 0, INT_MAX, 0, false, [](int, int y) { return y == 0; }},
        {"INT_MIN width from the middle", 10, 10, 5, 5, INT_MIN, 0, false,
         [](int x, int y) { return y == 5 && x <= 5; }},
        {"never meets the image", 10, 10, -5, -5, -INT_MAX, INT_MAX, false, [](int, int) { return false; }},
    };
    for (const BoxCase& c : cases) {
        Canvas canvas(c.imageW, c.imageH);
        drawLine(canvas.g, c.x, c.y, c.w, c.h, ink);
        expectCoverage(canvas, c.expected, c.name);
    }
}

// A sloped line sets one pixel per step along its major axis, each within half a
// pixel of the ideal line, moving monotonically.
TEST(DrawLine, SlopedLinesFollowTheIdealLine) {
    const std::vector<std::pair<int, int>> extents = {{10, 3}, {3, 10}, {-17, 5}, {6, -13}, {-9, -20}, {20, 20}};
    for (const auto& [w, h] : extents) {
        Canvas c(60, 60);
        const int x0 = 30, y0 = 30;
        drawLine(c.g, x0, y0, w, h, ink);
        const int steps = std::max(std::abs(w), std::abs(h));
        EXPECT_EQ(c.count(), steps) << w << "," << h;
        EXPECT_TRUE(c.inked(x0, y0));
        EXPECT_FALSE(c.inked(x0 + w, y0 + h)) << "end point drawn for " << w << "," << h;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                if (!c.inked(x, y)) continue;
                const int dx = x - x0, dy = y - y0;
                // Along the major axis: within the half-open extent; across it: within
                // half a pixel of the exact line.
                if (std::abs(w) >= std::abs(h)) {
                    EXPECT_TRUE(w > 0 ? within(dx, 0, w - 1) : within(dx, w + 1, 0)) << x << "," << y;
                    EXPECT_LE(std::abs(2.0 * (dy * w - dx * h)), std::abs(w) + 0.0) << w << "," << h;
                } else {
                    EXPECT_TRUE(h > 0 ? within(dy, 0, h - 1) : within(dy, h + 1, 0)) << x << "," << y;
                    EXPECT_LE(std::abs(2.0 * (dx * h - dy * w)), std::abs(h) + 0.0) << w << "," << h;
                }
            }
    }
}

// --- plotPixel and readPixel ----------------------------------------------------

TEST(ReadPixel, ReturnsMinusOneOutsideTheTargetOrWithoutOne) {
    Canvas c(460, 460);
    drawBox(c.g, 0, 0, 460, 460, 0xFFFFFF);
    EXPECT_EQ(readPixel(c.g, 459, 459), 0xFFFFFF);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {460, 0}, {0, 460}, {-1, 0}, {0, -1}, {INT_MIN, 0}, {0, INT_MAX}, {460, 460}})
        EXPECT_EQ(readPixel(c.g, x, y), -1) << x << "," << y;
    stopDrawing(c.g);
    EXPECT_EQ(readPixel(c.g, 0, 0), -1);
    Graphics fresh;
    EXPECT_EQ(readPixel(fresh, 0, 0), -1);
}

TEST(ReadPixel, GivesBackTheDrawnColourValue) {
    struct Case {
        std::int32_t drawn;
        std::int32_t read;
    };
    const std::vector<Case> cases = {
        {0, 0},
        {rgb(1, 2, 3), 0x030201},
        {rgb(255, 255, 255), 0xFFFFFF},
        {rgb(255, 0, 0), 0x0000FF},
        {rgb(0, 0, 255), 0xFF0000},
        // Only the three low bytes of an out-of-range packed value are kept.
        {rgb(300, 0, 0), 0x00012C},
        {rgb(0, 0, 256), 0},
        {-1, 0xFFFFFF},
        {0x7F123456, 0x123456},
        {INT_MIN, 0},
    };
    for (const Case& k : cases) {
        Canvas c(4, 4);
        plotPixel(c.g, 1, 1, k.drawn);
        drawBox(c.g, 2, 2, 1, 1, k.drawn);
        drawCircle(c.g, 0, 2, 1, k.drawn);
        drawLine(c.g, 3, 0, 0, 1, k.drawn);
        EXPECT_EQ(readPixel(c.g, 1, 1), k.read) << "plotPixel " << k.drawn;
        EXPECT_EQ(readPixel(c.g, 2, 2), k.read) << "drawBox " << k.drawn;
        EXPECT_EQ(readPixel(c.g, 1, 3), k.read) << "drawCircle " << k.drawn;
        EXPECT_EQ(readPixel(c.g, 3, 0), k.read) << "drawLine " << k.drawn;
    }
}

TEST(PlotPixel, SetsOnePixelAndIgnoresPositionsOffTheTarget) {
    Canvas c(5, 5);
    plotPixel(c.g, 2, 3, ink);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {5, 0}, {0, 5}, {INT_MIN, INT_MAX}})
        plotPixel(c.g, x, y, ink);
    expectCoverage(c, [](int x, int y) { return x == 2 && y == 3; }, "plotPixel");
}

// --- drawImage ----------------------------------------------------------------------

// Image 3: a 3-by-2 picture whose pixels are all different, one of them black.
void makeSource(Graphics& g) {
    ASSERT_EQ(createImage(g, 3, 3, 2), 4);
    const std::vector<std::uint32_t> pixels = {0x000001, 0x000000, 0x030000, 0x000400, 0x050505, 0xFFFFFF};
    g.images[3].pixels = pixels;
}

TEST(DrawImage, CopiesOpaquelyAndClipsAtEveryEdge) {
    const std::uint32_t ground = 0x808080;
    for (const auto& [px, py] : std::vector<std::pair<int, int>>{
             {0, 0}, {2, 1}, {5, 4}, {6, 5}, {-1, -1}, {-2, 0}, {0, -1}, {-3, 0}, {0, -2}, {8, 0}, {0, 6},
             {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MIN, 0}}) {
        Graphics g;
        makeSource(g);
        ASSERT_EQ(createImage(g, 1, 8, 6), 2);
        startDrawing(g, imageOutput(1));
        drawBox(g, 0, 0, 8, 6, static_cast<std::int32_t>(ground));
        drawImage(g, imageHandle(g, 3), px, py);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const long long sx = static_cast<long long>(x) - px;
                const long long sy = static_cast<long long>(y) - py;
                const std::uint32_t expected =
                    (sx >= 0 && sx < 3 && sy >= 0 && sy < 2) ? g.images[3].pixels[static_cast<std::size_t>(sy * 3 + sx)]
                                                             : ground;
                ASSERT_EQ(static_cast<std::uint32_t>(readPixel(g, x, y)), expected)
                    << "at " << px << "," << py << " pixel " << x << "," << y;
            }
    }
}

TEST(DrawImage, IgnoresHandlesOfNoImage) {
    Graphics g;
    makeSource(g);
    ASSERT_EQ(createImage(g, 1, 4, 4), 2);
    startDrawing(g, imageOutput(1));
    for (const ImageHandle h : {0, -1, 3 /* image 2: none */, 65, INT_MIN, INT_MAX}) drawImage(g, h, 0, 0);
    for (std::uint32_t p : g.images[1].pixels) EXPECT_EQ(p, 0u);
}

TEST(DrawImage, OntoItselfCopiesThePictureAsItWas) {
    Graphics g;
    ASSERT_EQ(createImage(g, 1, 4, 1), 2);
    g.images[1].pixels = {1, 2, 3, 4};
    startDrawing(g, imageOutput(1));
    drawImage(g, imageHandle(g, 1), 1, 0);
    EXPECT_EQ(g.images[1].pixels, (std::vector<std::uint32_t>{1, 1, 2, 3}));
    drawImage(g, imageHandle(g, 1), -2, 0);
    EXPECT_EQ(g.images[1].pixels, (std::vector<std::uint32_t>{2, 3, 2, 3}));

    ASSERT_EQ(createImage(g, 2, 2, 3), 3);  // shifted down: rows overlap
    g.images[2].pixels = {1, 2, 3, 4, 5, 6};
    startDrawing(g, imageOutput(2));
    drawImage(g, imageHandle(g, 2), 0, 1);
    EXPECT_EQ(g.images[2].pixels, (std::vector<std::uint32_t>{1, 2, 1, 2, 3, 4}));
}

TEST(DrawImage, OntoTheBackBuffer) {
    Graphics g;
    makeSource(g);
    openBackBuffer(g, 460, 460);
    startDrawing(g, screenOutput());
    drawImage(g, imageHandle(g, 3), 458, 459);
    EXPECT_EQ(readPixel(g, 458, 459), 0x000001);
    EXPECT_EQ(readPixel(g, 459, 459), 0);
    EXPECT_EQ(readPixel(g, 457, 459), 0);
}

// --- images -------------------------------------------------------------------------

TEST(CreateImage, IsBlackAndReplacesTheOldImage) {
    Graphics g;
    EXPECT_EQ(createImage(g, 10, 245, 200), 11);
    EXPECT_EQ(imageHandle(g, 10), 11);
    ASSERT_EQ(g.images[10].pixels.size(), 245u * 200u);
    startDrawing(g, imageOutput(10));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 245; ++x) ASSERT_EQ(readPixel(g, x, y), 0) << x << "," << y;
    drawBox(g, 0, 0, 245, 200, ink);
    stopDrawing(g);

    EXPECT_EQ(createImage(g, 10, 7, 3), 11);
    EXPECT_EQ(g.images[10].width, 7);
    EXPECT_EQ(g.images[10].height, 3);
    ASSERT_EQ(g.images[10].pixels.size(), 21u);
    for (std::uint32_t p : g.images[10].pixels) EXPECT_EQ(p, 0u);
}

TEST(CreateImage, RefusesBadNumbersAndSizesAndKeepsTheOldImage) {
    Graphics g;
    ASSERT_EQ(createImage(g, 0, 2, 2), 1);
    g.images[0].pixels[3] = 0x123456;
    ASSERT_EQ(createImage(g, 63, 1, 1), 64);
    struct Case {
        std::int32_t number, width, height;
    };
    for (const Case& k : std::vector<Case>{{-1, 2, 2}, {64, 2, 2}, {INT_MIN, 2, 2}, {0, 0, 2}, {0, 2, 0},
                                           {0, -2, 2}, {0, maxImageSide + 1, 1}, {0, 1, maxImageSide + 1},
                                           {0, maxImageSide, maxImageSide}, {0, INT_MAX, INT_MAX}}) {
        EXPECT_EQ(createImage(g, k.number, k.width, k.height), 0) << k.number << " " << k.width << "x" << k.height;
    }
    EXPECT_EQ(g.images[0].width, 2);
    ASSERT_EQ(g.images[0].pixels.size(), 4u);
    EXPECT_EQ(g.images[0].pixels[3], 0x123456u);
}

TEST(ImageHandle, NamesOnlyExistingImages) {
    Graphics g;
    EXPECT_EQ(imageHandle(g, 5), 0);
    EXPECT_EQ(imageOf(g, 6), nullptr);
    ASSERT_EQ(createImage(g, 5, 1, 1), 6);
    EXPECT_EQ(imageHandle(g, 5), 6);
    EXPECT_EQ(imageOf(g, 6), &g.images[5]);
    for (const std::int32_t bad : {-1, 64, INT_MIN, INT_MAX}) EXPECT_EQ(imageHandle(g, bad), 0);
    for (const ImageHandle bad : {0, -1, 65, INT_MIN, INT_MAX}) EXPECT_EQ(imageOf(g, bad), nullptr);
}

// --- targets and drawing state ----------------------------------------------------

// Records what text drawing was asked to do.
class RecordingText : public TextRenderer {
public:
    std::vector<std::int32_t> colours;
    std::vector<bool> transparent;
    std::vector<std::pair<std::int32_t, std::int32_t>> positions;
    bool loadFont(std::int32_t, std::string_view, std::int32_t) override { return true; }
    std::int32_t drawText(Image&, std::int32_t, std::int32_t x, std::int32_t y, std::string_view text,
                          std::int32_t colour, bool isTransparent) override {
        colours.push_back(colour);
        transparent.push_back(isTransparent);
        positions.emplace_back(x, y);
        return static_cast<std::int32_t>(text.size()) * 6;
    }
};

TEST(Targets, PrimitivesDoNothingWithoutAnOpenTarget) {
    Graphics g;
    RecordingText text;
    g.text = &text;
    ASSERT_EQ(createImage(g, 1, 8, 8), 2);
    ASSERT_EQ(createImage(g, 2, 2, 2), 3);
    g.images[2].pixels.assign(4, 0xFFFFFF);
    auto drawEverything = [&] {
        drawBox(g, 0, 0, 8, 8, ink);
        drawCircle(g, 4, 4, 3, ink);
        drawLine(g, 0, 0, 8, 8, ink);
        plotPixel(g, 1, 1, ink);
        drawImage(g, imageHandle(g, 2), 0, 0);
        drawText(g, "x");
    };
    drawEverything();  // never opened
    startDrawing(g, imageOutput(1));
    stopDrawing(g);
    drawEverything();  // closed again
    startDrawing(g, imageOutput(7));  // no image 7: nothing opens
    drawEverything();
    EXPECT_EQ(readPixel(g, 0, 0), -1);
    startDrawing(g, imageOutput(64));
    drawEverything();
    startDrawing(g, screenOutput());  // the back buffer was never given a size
    drawEverything();
    EXPECT_EQ(readPixel(g, 0, 0), -1);
    for (std::uint32_t p : g.images[1].pixels) EXPECT_EQ(p, 0u);
    EXPECT_TRUE(text.colours.empty());
}

TEST(Targets, StartDrawingResetsModeColourAndTextPosition) {
    Graphics g;
    RecordingText text;
    g.text = &text;
    ASSERT_EQ(createImage(g, 1, 10, 10), 2);
    startDrawing(g, imageOutput(1));
    setDrawingMode(g, drawOutline | drawTransparentText);
    setFrontColour(g, 10, 20, 30);
    setTextPosition(g, 50, 60);
    startDrawing(g, imageOutput(1));  // reopening closes and resets
    drawText(g, "ab");
    drawBox(g, 2, 2, 5, 5, ink);  // filled again: mode 0
    EXPECT_EQ(readPixel(g, 4, 4), ink);
    ASSERT_EQ(text.colours.size(), 1u);
    EXPECT_EQ(text.colours[0], 0);
    EXPECT_FALSE(text.transparent[0]);
    EXPECT_EQ(text.positions[0], std::make_pair(0, 0));
}

TEST(Targets, OneTargetAtATime) {
    Graphics g;
    ASSERT_EQ(createImage(g, 1, 4, 4), 2);
    openBackBuffer(g, 6, 6);
    startDrawing(g, imageOutput(1));
    startDrawing(g, screenOutput());
    plotPixel(g, 5, 5, ink);
    EXPECT_EQ(readPixel(g, 5, 5), ink);
    for (std::uint32_t p : g.images[1].pixels) EXPECT_EQ(p, 0u);
    EXPECT_EQ(g.backBuffer.pixels[35], std::uint32_t{ink});
}

TEST(FrontColour, BoxesAndCirclesSetItForLaterText) {
    struct Case {
        const char* name;
        std::function<void(Graphics&)> draw;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"drawBox", [](Graphics& g) { drawBox(g, 0, 0, 3, 3, rgb(0, 255, 0)); }, rgb(0, 255, 0)},
        {"drawBox 1x1", [](Graphics& g) { drawBox(g, 0, 0, 1, 1, rgb(1, 2, 3)); }, rgb(1, 2, 3)},
        {"drawBox of no size", [](Graphics& g) { drawBox(g, 0, 0, 0, 0, rgb(9, 9, 9)); }, rgb(9, 9, 9)},
        {"drawBox off the image", [](Graphics& g) { drawBox(g, 100, 100, 3, 3, rgb(7, 0, 0)); }, rgb(7, 0, 0)},
        {"drawCircle", [](Graphics& g) { drawCircle(g, 5, 5, 3, rgb(255, 0, 0)); }, rgb(255, 0, 0)},
        {"drawCircle r=0", [](Graphics& g) { drawCircle(g, 5, 5, 0, rgb(0, 0, 255)); }, rgb(0, 0, 255)},
        {"setFrontColour then drawBox",
         [](Graphics& g) {
             setFrontColour(g, 1, 1, 1);
             drawBox(g, 0, 0, 2, 2, rgb(4, 5, 6));
         },
         rgb(4, 5, 6)},
        {"drawBox then setFrontColour",
         [](Graphics& g) {
             drawBox(g, 0, 0, 2, 2, rgb(4, 5, 6));
             setFrontColour(g, 300, 1, -1);  // components keep their low bytes
         },
         rgb(44, 1, 255)},
        {"plotPixel leaves it", [](Graphics& g) { plotPixel(g, 0, 0, rgb(8, 8, 8)); }, 0},
    };
    for (const Case& k : cases) {
        Graphics g;
        RecordingText text;
        g.text = &text;
        ASSERT_EQ(createImage(g, 1, 10, 10), 2);
        startDrawing(g, imageOutput(1));
        k.draw(g);
        drawText(g, "t");
        ASSERT_EQ(text.colours.size(), 1u) << k.name;
        EXPECT_EQ(text.colours[0], k.expected) << k.name;
    }
}

TEST(DrawText, ConsecutiveTextsContinueTheLine) {
    Graphics g;
    RecordingText text;
    g.text = &text;
    ASSERT_EQ(createImage(g, 1, 100, 100), 2);
    startDrawing(g, imageOutput(1));
    setTextPosition(g, 23, 5);
    drawText(g, ": ");
    drawText(g, "");  // draws nothing, does not move
    drawText(g, "123");
    ASSERT_EQ(text.positions.size(), 2u);
    EXPECT_EQ(text.positions[0], std::make_pair(23, 5));
    EXPECT_EQ(text.positions[1], std::make_pair(23 + 12, 5));
}

}  // namespace
}  // namespace vivarix
