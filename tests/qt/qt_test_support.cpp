#include "qt_test_support.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/core/colour.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_desktop_testing.h"

namespace vivarix::qttest {

namespace {

int storedArgc = 1;
char programName[] = "vivarix-qt-tests";
char* storedArgv[] = {programName, nullptr};

// A w-by-h image under `number` filled with one colour.
void fill(Graphics& g, std::int32_t number, std::int32_t w, std::int32_t h, std::int32_t colour) {
    createImage(g, number, w, h);
    startDrawing(g, imageOutput(number));
    drawBox(g, 0, 0, w, h, colour);
    stopDrawing(g);
}

}  // namespace

std::unique_ptr<Desktop> newDesktop(const Graphics& graphics) {
    return startQtDesktop(storedArgc, storedArgv, graphics);
}

void PrintTo(const Polled& polled, std::ostream* out) {
    *out << polled.code;
    if (polled.number != -1) *out << '(' << polled.number << ')';
}

Polled control(std::int32_t number) { return Polled{event::control, number}; }
Polled shortcut(std::int32_t number) { return Polled{event::shortcut, number}; }
Polled plain(std::int32_t code) { return Polled{code, -1}; }

std::vector<Polled> pollAll(Desktop& desktop) {
    std::vector<Polled> events;
    for (;;) {
        const std::int32_t code = desktop.pollEvent();
        if (code == event::none) return events;
        const std::int32_t number =
            code == event::control ? desktop.eventControl() : code == event::shortcut ? desktop.eventShortcut() : -1;
        events.push_back(Polled{code, number});
    }
}

std::vector<Polled> withoutMotion(const std::vector<Polled>& events) {
    std::vector<Polled> kept;
    for (const Polled& e : events)
        if (e.code != event::pointerMove) kept.push_back(e);
    return kept;
}

TestImages::TestImages() {
    fill(graphics, ids::inspectorImage, 245, 200, rgb(20, 30, 40));
    fill(graphics, ids::aboutImage, 230, 115, rgb(255, 255, 255));
    fill(graphics, ids::iconShy, 15, 15, rgb(0, 0, 200));
    fill(graphics, ids::iconCool, 15, 15, rgb(200, 0, 0));
    fill(graphics, ids::iconStatsOff, 15, 15, rgb(0, 200, 0));
}

QRect handleRect(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.subControls = QStyle::SC_All;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

const ShortcutKey programShortcuts[16] = {{'C', 61}, {'S', 62}, {'G', 63}, {'L', 64}, {'P', 66}, {'0', 50},
                                          {'1', 51}, {'2', 52}, {'3', 53}, {'4', 54}, {'5', 55}, {'6', 56},
                                          {'7', 57}, {'8', 58}, {'9', 59}, {'R', 60}};

TestWindow::TestWindow() : desktop(newDesktop(images.graphics)) {
    Desktop& d = *desktop;
    const Graphics& g = images.graphics;
    EXPECT_TRUE(d.openWindow(0, 30, 40, 715, 460, "Vivarix test"));
    EXPECT_TRUE(d.openRenderSurface(0, 0, 0, 460, 460));
    EXPECT_TRUE(d.beginControls(0));
    d.createImageView(ids::inspectorView, 465, 0, 0, 0, imageHandle(g, ids::inspectorImage));
    d.createImageButton(ids::placementButton, 465, 210, 20, 20, imageHandle(g, ids::iconShy));
    d.createImageButton(ids::statsButton, 515, 210, 20, 20, imageHandle(g, ids::iconStatsOff));
    d.createPanel(ids::panel, 465, 250, 245, 205);

    d.addPanelTab(ids::panel, "Global Parameters");
    d.createFrame(-1, 5, 0, 230, 110, "Feeding");
    d.createText(ids::autoLabel, 10, 20, 70, 20, "Auto:");
    d.createTrackbar(ids::autoFeed, 5, 35, 225, 20, 0, 40, trackbarTicks);
    d.createText(ids::spreadLabel, 10, 65, 70, 20, "M. Size:");
    d.createText(ids::grainsLabel, 120, 65, 70, 20, "M. NpF:");
    d.createTrackbar(ids::spread, 5, 80, 115, 20, 2, 12, trackbarTicks);
    d.createTrackbar(ids::grains, 115, 80, 115, 20, 5, 25, trackbarTicks);
    d.createText(ids::temperatureLabel, 5, 120, 90, 20, "Temperatur:");
    d.createTrackbar(ids::temperature, 0, 135, 235, 20, 0, 20, trackbarTicks);

    d.addPanelTab(ids::panel, "Actions");
    d.createText(ids::stomachLabel, 5, 5, 130, 20, "max.Magen:");
    d.createTrackbar(ids::stomach, 0, 20, 235, 20, 10, 50, trackbarTicks);

    d.addPanelTab(ids::panel, "Settings");
    d.createText(ids::sizeLabel, 5, 5, 130, 20, "Vivarix Size:");
    d.createTrackbar(ids::plateSize, 0, 20, 235, 20, 0, 20, trackbarTicks);
    d.createText(ids::nutrientLabel, 5, 50, 130, 20, "Initial Nutrium:");
    d.createOption(ids::randomOption, 5, 65, 60, 20, "Random");
    d.createOption(ids::emptyOption, 5, 80, 60, 20, "Empty");
    d.createButton(ids::newPlate, 145, 100, 90, 20, "New Vivarix");

    d.addPanelTab(ids::panel, "About");
    d.createText(ids::sizeLabel, 5, 5, 130, 20, "Written for the tests");
    d.createImageView(ids::aboutView, 5, 5, 0, 0, imageHandle(g, ids::aboutImage));

    d.setControlState(ids::autoFeed, 10);
    d.setControlState(ids::spread, 12);
    d.setControlState(ids::grains, 25);
    d.setControlState(ids::temperature, 10);
    d.setControlState(ids::stomach, 20);
    d.setControlState(ids::plateSize, 20);
    d.setControlState(ids::randomOption, 1);
    d.disableControl(ids::temperature, 1);
    d.disableControl(ids::plateSize, 1);
    d.endControls();
    for (const ShortcutKey& s : programShortcuts) d.addShortcut(0, s.key, s.number);

    EXPECT_TRUE(QTest::qWaitForWindowActive(window()));
    eventsWhileBuilding = pollAll(d);
}

QWidget* TestWindow::window() const { return windowWidget(*desktop); }
QWidget* TestWindow::surface() const { return surfaceWidget(*desktop); }
QWidget* TestWindow::control(std::int32_t number) const { return controlWidget(*desktop, number); }

void TestWindow::showTab(int index) const {
    static_cast<QTabWidget*>(control(ids::panel))->setCurrentIndex(index);
    pollAll(*desktop);
}

}  // namespace vivarix::qttest
