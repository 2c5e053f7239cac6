// Shared pieces of the Qt desktop tests: the one Qt application of the test binary,
// a window built like the program's, and event collection.
#pragma once

#include <QRect>
#include <QSlider>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "platform/core/desktop.h"
#include "platform/core/graphics.h"

namespace vivarix::qttest {

// A desktop on the test binary's Qt application (started once, offscreen under CTest).
std::unique_ptr<Desktop> newDesktop(const Graphics& graphics);

// One polled event: its code and, for control and shortcut events, the number.
struct Polled {
    std::int32_t code = 0;
    std::int32_t number = -1;
    bool operator==(const Polled&) const = default;
};
void PrintTo(const Polled& polled, std::ostream* out);

Polled control(std::int32_t number);
Polled shortcut(std::int32_t number);
Polled plain(std::int32_t code);

// Polls until the desktop reports nothing pending.
std::vector<Polled> pollAll(Desktop& desktop);
// The same without pointer motion (512), for routes that may add a move before a click.
std::vector<Polled> withoutMotion(const std::vector<Polled>& events);

// Control numbers and images of the test window; they follow the program's panel.
namespace ids {
inline constexpr std::int32_t inspectorView = 9, placementButton = 28, statsButton = 31, magnifierButton = 32;
inline constexpr std::int32_t panel = 13;
inline constexpr std::int32_t autoLabel = 12, autoFeed = 14, spreadLabel = 20, spread = 21, grainsLabel = 22,
                              grains = 23, temperatureLabel = 15, temperature = 16;
inline constexpr std::int32_t stomachLabel = 2, stomach = 3;
inline constexpr std::int32_t sizeLabel = 17, plateSize = 18, nutrientLabel = 19, randomOption = 52,
                              emptyOption = 54, newPlate = 8;
inline constexpr std::int32_t aboutView = 24;
inline constexpr std::int32_t inspectorImage = 10, aboutImage = 25, iconShy = 36, iconCool = 37, iconStatsOff = 41;
}  // namespace ids

// A Graphics holding the images the test window shows.
struct TestImages {
    Graphics graphics;
    TestImages();
};

// Window 0 (715 by 460 at (30, 40), titled "Vivarix test") with the 460 by 460
// surface, the program's panel in reduced form on its four tabs and the sixteen
// shortcuts; active, with the events of building it already polled.
struct TestWindow {
    TestImages images;
    std::unique_ptr<Desktop> desktop;
    std::vector<Polled> eventsWhileBuilding;

    TestWindow();
    QWidget* window() const;
    QWidget* surface() const;
    QWidget* control(std::int32_t number) const;
    // Shows the tab with this index (0 = "Global Parameters") as the user would see it.
    void showTab(int index) const;
};

// Where a slider's handle is, in the slider's coordinates.
QRect handleRect(QSlider* slider);

// The sixteen shortcuts: key and number.
struct ShortcutKey {
    char key;
    std::int32_t number;
};
extern const ShortcutKey programShortcuts[16];

}  // namespace vivarix::qttest
