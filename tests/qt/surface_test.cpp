// Presenting the back buffer: the colours shown, the frame limit, and no copy while
// the window cannot be seen.
#include <QImage>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>

#include "app/plate_preparation.h"
#include "platform/core/colour.h"
#include "qt_test_support.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

// A w-by-h back buffer whose every pixel is `colour(x, y)`.
template <typename Colour>
Image picture(std::int32_t w, std::int32_t h, Colour colour) {
    Image image;
    image.width = w;
    image.height = h;
    image.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
                colour(x, y);
    return image;
}

Image plain(std::int32_t w, std::int32_t h, std::int32_t colour) {
    return picture(w, h, [colour](std::int32_t, std::int32_t) { return static_cast<std::uint32_t>(colour); });
}

// What the surface shows now, as colour values.
std::int32_t shownAt(const QImage& shown, int x, int y) {
    const QRgb p = shown.pixel(x, y);
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

class Surface : public ProgramWindow {
protected:
    QImage shown() const { return surface()->grab().toImage(); }
};

TEST_F(Surface, ShowsExactlyTheColoursOfTheBackBuffer) {
    // Every component varies on its own; some words carry junk in the top byte.
    const Image back = picture(460, 460, [](std::int32_t x, std::int32_t y) {
        const auto value = static_cast<std::uint32_t>(rgb(x & 0xFF, y & 0xFF, (x * 3 + y) & 0xFF));
        return (x + y) % 7 == 0 ? value | 0xAB000000u : value;
    });
    desktop->presentFrame(back, false);
    const QImage image = shown();
    ASSERT_EQ(image.size(), QSize(460, 460));
    int wrong = 0;
    for (int y = 0; y < 460; ++y)
        for (int x = 0; x < 460; ++x)
            if (shownAt(image, x, y) != rgb(x & 0xFF, y & 0xFF, (x * 3 + y) & 0xFF) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") shows " << std::hex << shownAt(image, x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(Surface, ASmallerBackBufferCoversOnlyItsOwnArea) {
    desktop->presentFrame(plain(460, 460, rgb(255, 0, 0)), false);
    desktop->presentFrame(plain(100, 50, rgb(0, 0, 255)), false);
    const QImage image = shown();
    EXPECT_EQ(shownAt(image, 0, 0), rgb(0, 0, 255));
    EXPECT_EQ(shownAt(image, 99, 49), rgb(0, 0, 255));
    EXPECT_EQ(shownAt(image, 100, 0), rgb(255, 0, 0));
    EXPECT_EQ(shownAt(image, 0, 50), rgb(255, 0, 0));
    EXPECT_EQ(shownAt(image, 459, 459), rgb(255, 0, 0));
    desktop->presentFrame(Image{}, false);  // nothing to show: the picture stays
    EXPECT_EQ(shownAt(shown(), 0, 0), rgb(0, 0, 255));
}

TEST_F(Surface, WaitingPresentsAreAtLeastOneSixtyFirstOfASecondApart) {
    const Image back = plain(460, 460, rgb(1, 2, 3));
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> ends;
    for (int i = 0; i < 8; ++i) {
        desktop->presentFrame(back, true);
        ends.push_back(Clock::now());
    }
    // The waits end 1/61 s apart at the least.  Only the first present copies the
    // picture (the others show the same frame, which needs no copy), so the gaps
    // are measured from the second present on, where each present is its wait.
    const auto period = std::chrono::nanoseconds(1'000'000'000 / 61);
    const auto allowance = std::chrono::microseconds(500);
    for (std::size_t i = 2; i < ends.size(); ++i) EXPECT_GE(ends[i] - ends[i - 1], period - allowance) << i;
    EXPECT_GE(ends.back() - ends[1], 6 * period - allowance);
    EXPECT_EQ(shownAt(shown(), 10, 10), rgb(1, 2, 3));
}

TEST_F(Surface, NoCopyWhileMinimisedOrHidden) {
    desktop->presentFrame(plain(460, 460, rgb(10, 20, 30)), false);
    window()->showMinimized();
    ASSERT_TRUE(window()->isMinimized());
    desktop->presentFrame(plain(460, 460, rgb(200, 100, 50)), true);
    EXPECT_EQ(shownAt(shown(), 5, 5), rgb(10, 20, 30));
    window()->showNormal();
    window()->hide();
    desktop->presentFrame(plain(460, 460, rgb(200, 100, 50)), true);
    EXPECT_EQ(shownAt(shown(), 5, 5), rgb(10, 20, 30));
    window()->show();
    desktop->presentFrame(plain(460, 460, rgb(200, 100, 50)), true);
    EXPECT_EQ(shownAt(shown(), 5, 5), rgb(200, 100, 50));
}

TEST_F(Surface, ImageViewShowsItsImageAnew) {
    Graphics& g = state->graphics;
    QWidget* view = widget(control::inspectorView);
    EXPECT_NE(shownAt(view->grab().toImage(), 0, 0), rgb(250, 0, 5));
    // Redraw the inspector picture and show it again under the same handle.
    startDrawing(g, imageOutput(inspectorImage));
    drawBox(g, 0, 0, 10, 10, rgb(250, 0, 5));
    stopDrawing(g);
    desktop->setControlState(control::inspectorView, imageHandle(g, inspectorImage));
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.size(), QSize(245, 200));
    EXPECT_EQ(shownAt(image, 0, 0), rgb(250, 0, 5));
    EXPECT_EQ(shownAt(image, 9, 9), rgb(250, 0, 5));
    EXPECT_EQ(shownAt(image, 10, 10), panelGrey);  // a fresh plate's inspector picture
}

}  // namespace
}  // namespace vivarix::qttest
