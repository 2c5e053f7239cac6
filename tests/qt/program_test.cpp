// The whole program on the offscreen desktop: start-up, the control panel and the
// main loop, driven through simulated input that takes the route of real input.
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_desktop_testing.h"
#include "qt_test_support.h"
#include "sim/control_numbers.h"

namespace vivarix::qttest {
namespace {

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        state = std::make_unique<AppState>();
        desktop = newDesktop(state->graphics);
        text = createQtTextRenderer();
        ASSERT_TRUE(startUp(*state, *desktop, *text, 20261207));
        window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    void TearDown() override { state->graphics.text = nullptr; }

    QWidget* window() { return windowWidget(*desktop); }
    QWidget* surface() { return surfaceWidget(*desktop); }
    QWidget* control(std::int32_t number) { return controlWidget(*desktop, number); }
    std::string label(std::int32_t number) {
        return static_cast<QLabel*>(control(number))->text().toStdString();
    }

    // Runs `n` passes.
    void passes(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(runPass(*state, *desktop));
    }

    void clickPlate(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseMove(surface(), at);
        QTest::mouseClick(surface(), button, {}, at);
        passes(4);  // motion, press, release, and a spare
    }

    void showTab(int index) { static_cast<QTabWidget*>(control(control::tabPanel))->setCurrentIndex(index); }

    std::unique_ptr<AppState> state;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<TextRenderer> text;
};

TEST_F(Program, StartsWithItsWindowLabelsAndFeeding) {
    EXPECT_EQ(window()->windowTitle().toStdString(), "Vivarix 0.4alpha");
    EXPECT_EQ(window()->size(), QSize(715, 460));
    // The labels state what a placed creature gets: stomach capacity 20 * 32, lifespan
    // 20 * 64, maturity 20 * 16; and the automatic feeding 10 * 8.
    EXPECT_EQ(label(control::magenLabel), "max.Magen: 640");
    EXPECT_EQ(label(control::alterLabel), "max.Alter: 1280");
    EXPECT_EQ(label(control::reifLabel), "Geschlechtsreif: 320");
    EXPECT_EQ(label(control::autoLabel), "Auto: 80");
    EXPECT_EQ(state->autoFeedAmount, 80);
    EXPECT_EQ(state->magnifierX, 230);
    EXPECT_EQ(state->magnifierY, 230);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 1);
    EXPECT_FALSE(control(control::temperatureTrackbar)->isEnabled());
    EXPECT_FALSE(control(control::sizeTrackbar)->isEnabled());
}

TEST_F(Program, ControlsNameTheirKeysAndTheAboutTabItsProgram) {
    EXPECT_EQ(control(control::kindButton)->toolTip().toStdString(), "Placement kind: blue (C) or red (S)");
    for (const std::int32_t number : {control::statsButton, control::magnifierButton, control::autoTrackbar,
                                      control::spreadTrackbar, control::grainsTrackbar, control::magenTrackbar,
                                      control::alterTrackbar, control::reifTrackbar, control::randomOption,
                                      control::emptyOption, control::newPlateButton, control::inspectorView})
        EXPECT_FALSE(control(number)->toolTip().isEmpty()) << "control " << number;
    // The credits are written in white on the About picture.
    const Image& about = state->graphics.images[25];
    std::int32_t white = 0;
    for (const std::uint32_t p : about.pixels) white += (p & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(white, 300);
}

TEST_F(Program, TheLabelsMatchWhatPlacementGives) {
    showTab(1);
    desktop->setControlState(control::magenTrackbar, 30);
    desktop->setControlState(control::alterTrackbar, 15);
    QWidget* slider = control(control::magenTrackbar);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);  // 31
    passes(3);
    EXPECT_EQ(label(control::magenLabel), "max.Magen: 992");
    QTest::keyClick(control(control::alterTrackbar), Qt::Key_Left);  // 14
    passes(3);
    EXPECT_EQ(label(control::alterLabel), "max.Alter: 896");
    clickPlate(QPoint(230, 230));
    ASSERT_EQ(state->creatureList.size(), 1u);
    EXPECT_EQ(state->creatureList.front()->stomachCapacity, 992);
    EXPECT_EQ(state->creatureList.front()->maxAge, 896);
}

TEST_F(Program, TheAutoSliderSetsTheFeedingAmount) {
    QWidget* slider = control(control::autoTrackbar);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    passes(4);
    EXPECT_EQ(label(control::autoLabel), "Auto: 320");
    EXPECT_EQ(state->autoFeedAmount, 320);
    QTest::keyClick(slider, Qt::Key_Home);
    passes(4);
    EXPECT_EQ(label(control::autoLabel), "Auto: 0");
    EXPECT_EQ(state->autoFeedAmount, 0);
}

TEST_F(Program, PauseShowsInTheTitleAndStopsTheRun) {
    clickPlate(QPoint(230, 230));
    ASSERT_EQ(state->creatureList.size(), 1u);
    QTest::keyClick(window(), Qt::Key_P);
    passes(3);
    EXPECT_EQ(state->paused, 1);
    EXPECT_EQ(window()->windowTitle().toStdString(), "Vivarix 0.4alpha  *** PAUSE ***");
    const std::int32_t age = state->creatureList.front()->age;
    passes(5);
    EXPECT_EQ(state->creatureList.front()->age, age);
    // A click while paused places nothing.
    clickPlate(QPoint(100, 100));
    EXPECT_EQ(state->creatureList.size(), 1u);
    QTest::keyClick(window(), Qt::Key_P);
    passes(3);
    EXPECT_EQ(window()->windowTitle().toStdString(), "Vivarix 0.4alpha");
    EXPECT_GT(state->creatureList.front()->age, age);
}

TEST_F(Program, AClickPlacesACreatureOfTheChosenKind) {
    clickPlate(QPoint(230, 230));
    ASSERT_EQ(state->creatureList.size(), 1u);
    EXPECT_EQ(state->creatureList.front()->kind, 0);
    EXPECT_EQ(state->creatureList.front()->colour, 117 * 65536);
    QTest::keyClick(window(), Qt::Key_S);
    passes(2);
    clickPlate(QPoint(300, 200));
    ASSERT_EQ(state->creatureList.size(), 2u);
    EXPECT_EQ(state->creatureList.back()->kind, 1);
    EXPECT_EQ(state->creatureList.back()->colour, 117);
    EXPECT_EQ(state->kindCount[0], 1);
    EXPECT_EQ(state->kindCount[1], 1);
}

TEST_F(Program, ClicksOffThePlateOrOnATakenCellPlaceNothing) {
    clickPlate(QPoint(5, 300));  // outside the disc
    EXPECT_TRUE(state->creatureList.empty());
    QTest::mouseClick(control(control::autoLabel), Qt::LeftButton, {}, QPoint(3, 3));  // the control column
    passes(4);
    EXPECT_TRUE(state->creatureList.empty());
    // A cell on which a creature ended its last step is refused: the pointer is
    // there already, the step marks the cell, then the click arrives.
    const QPoint at(230, 230);
    QTest::mouseMove(surface(), at);
    passes(2);
    cellAt(state->creatureGrid, at.x(), at.y()) = 1;
    QTest::mouseClick(surface(), Qt::LeftButton, {}, at);
    passes(1);
    EXPECT_TRUE(state->creatureList.empty());
    passes(2);
    clickPlate(at);  // the next step cleared the mark
    EXPECT_EQ(state->creatureList.size(), 1u);
}

TEST_F(Program, EveryClickOnNewVivarixStartsANewPlate) {
    showTab(2);
    QWidget* button = control(control::newPlateButton);
    for (int round = 0; round < 2; ++round) {
        clickPlate(QPoint(230, 230));
        ASSERT_EQ(state->creatureList.size(), 1u) << "round " << round;
        const PlateGrid before = state->plateGrid;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        passes(4);
        EXPECT_TRUE(state->creatureList.empty()) << "round " << round;
        EXPECT_EQ(state->kindCount[0], 0);
        EXPECT_NE(state->plateGrid.cells, before.cells) << "round " << round;
    }
}

TEST_F(Program, RightButtonFeedsUntilThePointerLeavesTheWindow) {
    QTest::mouseMove(surface(), QPoint(100, 230));
    QTest::mousePress(surface(), Qt::RightButton, {}, QPoint(100, 230));
    passes(3);
    EXPECT_EQ(state->feedingActive, 1);
    // Dragged out of the window with the button still held: no release is seen.
    QTest::mouseMove(surface(), QPoint(-40, 230));
    passes(3);
    EXPECT_EQ(state->feedingActive, 0);
    EXPECT_EQ(state->mouseX, 100);  // the last position inside stays
    QTest::mouseRelease(surface(), Qt::RightButton, {}, QPoint(-40, 230));
    passes(2);
    EXPECT_EQ(state->feedingActive, 0);
}

TEST_F(Program, ImageButtonsAndKeysSwitchTheDisplay) {
    QTest::mouseClick(control(control::statsButton), Qt::LeftButton, {}, QPoint(5, 5));
    passes(3);
    EXPECT_EQ(state->colourStatsOn, 1);
    QTest::keyClick(window(), Qt::Key_G);
    passes(2);
    EXPECT_EQ(state->colourStatsOn, 0);
    QTest::keyClick(window(), Qt::Key_L);
    passes(2);
    // An empty plate switches the magnifier off again in the next frame.
    EXPECT_EQ(state->magnifierOn, 0);
    QTest::keyClick(window(), Qt::Key_5);
    passes(2);
    EXPECT_EQ(state->frameDelayMs, 16);
    QTest::keyClick(window(), Qt::Key_0);
    passes(2);
    EXPECT_EQ(state->frameDelayMs, 0);
}

TEST_F(Program, TheMagnifierMovesToThePointerWithinThePlate) {
    QTest::mouseMove(surface(), QPoint(2, 455));
    passes(2);
    QTest::keyClick(window(), Qt::Key_R);
    passes(2);
    EXPECT_EQ(state->magnifierX, 24);
    EXPECT_EQ(state->magnifierY, 440);
}

TEST_F(Program, TheCloseRequestEndsTheLoop) {
    window()->close();
    bool ended = false;
    for (int i = 0; i < 5 && !ended; ++i) ended = !runPass(*state, *desktop);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(window()->isVisible());  // closing is the program's decision, not the window's
}

TEST_F(Program, TheFrameRateIsMeasuredEveryTenPasses) {
    passes(30);
    EXPECT_GT(state->framesPerSecond, 0);
    EXPECT_LE(state->framesPerSecond, 62);
}

}  // namespace
}  // namespace vivarix::qttest
