// The whole program on the offscreen desktop: start-up, the control panel and the
// main loop, driven through simulated input that takes the route of real input.
#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "app/main_loop.h"
#include "app/plate_preparation.h"
#include "app/startup.h"
#include "platform/core/colour.h"
#include "qt_test_support.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

class Program : public ProgramWindow {
protected:
    void clickPlate(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseMove(surface(), at);
        QTest::mouseClick(surface(), button, {}, at);
        passes(4);  // motion, press, release, and a spare
    }
};

TEST_F(Program, StartsFeedingAsItsPanelSaysWithTheMagnifierCentred) {
    EXPECT_EQ(label(control::autoLabel), "Auto: " + std::to_string(state->autoFeedAmount));
    EXPECT_EQ(state->autoFeedAmount, trackbar::autoFeed.initial * trackbar::autoFeed.perStep);
    EXPECT_EQ(state->magnifierX, 230);
    EXPECT_EQ(state->magnifierY, 230);
}

TEST_F(Program, ControlsNameTheirKeysAndTheAboutTabItsProgram) {
    EXPECT_EQ(widget(control::kindButton)->toolTip().toStdString(), "Placement kind: blue (C) or red (S)");
    for (const std::int32_t number : {control::statsButton, control::magnifierButton, control::autoTrackbar,
                                      control::spreadTrackbar, control::grainsTrackbar, control::magenTrackbar,
                                      control::alterTrackbar, control::reifTrackbar, control::randomOption,
                                      control::emptyOption, control::newPlateButton, control::inspectorView})
        EXPECT_FALSE(widget(number)->toolTip().isEmpty()) << "control " << number;
    // The credits are written in white on the About picture.
    std::int32_t whitePixels = 0;
    for (const std::uint32_t p : state->graphics.images[aboutImage].pixels)
        whitePixels += static_cast<std::int32_t>(p & 0xFFFFFF) == white;
    EXPECT_GT(whitePixels, 300);
}

TEST_F(Program, TheLabelsMatchWhatPlacementGives) {
    showTab(1);
    desktop->setControlState(control::magenTrackbar, 30);
    desktop->setControlState(control::alterTrackbar, 15);
    QWidget* slider = widget(control::magenTrackbar);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);  // 31
    passes(3);
    const std::int32_t stomach = 31 * trackbar::magen.perStep, lifespan = 14 * trackbar::alter.perStep;
    EXPECT_EQ(label(control::magenLabel), "max.Magen: " + std::to_string(stomach));
    QTest::keyClick(widget(control::alterTrackbar), Qt::Key_Left);  // 14
    passes(3);
    EXPECT_EQ(label(control::alterLabel), "max.Alter: " + std::to_string(lifespan));
    clickPlate(QPoint(230, 230));
    ASSERT_EQ(state->creatureList.size(), 1u);
    EXPECT_EQ(state->creatureList.front()->stomachCapacity, stomach);
    EXPECT_EQ(state->creatureList.front()->maxAge, lifespan);
}

TEST_F(Program, TheAutoSliderSetsTheFeedingAmount) {
    QWidget* slider = widget(control::autoTrackbar);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    passes(4);
    EXPECT_EQ(label(control::autoLabel), "Auto: " + std::to_string(40 * trackbar::autoFeed.perStep));
    EXPECT_EQ(state->autoFeedAmount, 40 * trackbar::autoFeed.perStep);
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
    EXPECT_EQ(window()->windowTitle().toStdString(), std::string(programTitle) + "  *** PAUSE ***");
    const std::int32_t age = state->creatureList.front()->age;
    passes(5);
    EXPECT_EQ(state->creatureList.front()->age, age);
    // A click while paused places nothing.
    clickPlate(QPoint(100, 100));
    EXPECT_EQ(state->creatureList.size(), 1u);
    QTest::keyClick(window(), Qt::Key_P);
    passes(3);
    EXPECT_EQ(window()->windowTitle().toStdString(), programTitle);
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
    QTest::mouseClick(widget(control::autoLabel), Qt::LeftButton, {}, QPoint(3, 3));  // the control column
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
    QWidget* button = widget(control::newPlateButton);
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

TEST_F(Program, DigitsSetTheIdleDelayAndAnEmptyPlateEndsTheMagnifier) {
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

}  // namespace
}  // namespace vivarix::qttest
