// Mouse buttons over the surface and over the controls, one event per poll, in order.
#include <QCursor>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>

#include "qt_test_support.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

// What a left click on a button gives: the press, then the button's event.
Events buttonClick(std::int32_t number) { return {plain(event::leftDown), control(number)}; }

class MouseEvents : public ProgramWindow {
protected:

    // Moves the pointer over `widget` at `at` and polls the motion away, so that the
    // next click starts where the pointer already is.
    void hover(QWidget* widget, QPoint at = QPoint(5, 5)) {
        QTest::mouseMove(widget, at);
        pollAll(*desktop);
    }

    Events leftClick(QWidget* widget, QPoint at = QPoint(5, 5)) {
        hover(widget, at);
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        return pollAll(*desktop);
    }
};

TEST_F(MouseEvents, BuildingTheWindowRaisesNothing) { EXPECT_EQ(eventsWhileStarting, Events{}); }

TEST_F(MouseEvents, EmptyQueuePollsZeroAtOnce) {
    EXPECT_EQ(desktop->pollEvent(), event::none);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(desktop->pollEvent(), event::none);
    // A poll that waited for events would take at least a scheduler tick each.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST_F(MouseEvents, LeftClickOnTheSurfaceIsPressThenRelease) {
    EXPECT_EQ(leftClick(surface(), QPoint(100, 120)), (Events{plain(event::leftDown), plain(event::leftUp)}));
}

TEST_F(MouseEvents, RightPressAndReleaseArriveSeparately) {
    hover(surface(), QPoint(200, 200));
    QTest::mousePress(surface(), Qt::RightButton, {}, QPoint(200, 200));
    EXPECT_EQ(desktop->pollEvent(), event::rightDown);
    EXPECT_EQ(desktop->pollEvent(), event::none);
    QTest::mouseRelease(surface(), Qt::RightButton, {}, QPoint(200, 200));
    EXPECT_EQ(desktop->pollEvent(), event::rightUp);
    EXPECT_EQ(desktop->pollEvent(), event::none);
}

TEST_F(MouseEvents, PointerMotionIsReported) {
    QTest::mouseMove(surface(), QPoint(10, 10));
    QTest::mouseMove(surface(), QPoint(11, 10));
    EXPECT_EQ(pollAll(*desktop), (Events{plain(event::pointerMove), plain(event::pointerMove)}));
}

TEST_F(MouseEvents, DoubleClickIsTwoClicks) {
    hover(surface(), QPoint(50, 60));
    QTest::mouseDClick(surface(), Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(withoutMotion(pollAll(*desktop)), (Events{plain(event::leftDown), plain(event::leftUp),
                                                        plain(event::leftDown), plain(event::leftUp)}));
    QWidget* button = widget(control::kindButton);
    hover(button);
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(withoutMotion(pollAll(*desktop)), (Events{plain(event::leftDown), control(control::kindButton),
                                                        plain(event::leftDown), control(control::kindButton)}));
}

TEST_F(MouseEvents, ClickedButtonsReplaceTheReleaseByTheirControlEvent) {
    EXPECT_EQ(leftClick(widget(control::kindButton)), buttonClick(control::kindButton));
    EXPECT_EQ(leftClick(widget(control::statsButton)), buttonClick(control::statsButton));
    showTab(2);
    EXPECT_EQ(leftClick(widget(control::newPlateButton)), buttonClick(control::newPlateButton));
}

TEST_F(MouseEvents, ClickingAnOptionSelectsItAndClearsTheOther) {
    showTab(2);
    EXPECT_EQ(leftClick(widget(control::emptyOption)), buttonClick(control::emptyOption));
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 1);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 0);
    // Clicking the selected option again is still a click.
    EXPECT_EQ(leftClick(widget(control::emptyOption)), buttonClick(control::emptyOption));
    EXPECT_EQ(leftClick(widget(control::randomOption)), buttonClick(control::randomOption));
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 0);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 1);
}

TEST_F(MouseEvents, ControlsThatRaiseNothingPassTheButtonsOn) {
    const Events click{plain(event::leftDown), plain(event::leftUp)};
    EXPECT_EQ(leftClick(widget(control::autoLabel)), click);
    EXPECT_EQ(leftClick(widget(control::inspectorView), QPoint(100, 100)), click);
    EXPECT_EQ(leftClick(widget(control::temperatureTrackbar), QPoint(100, 10)), click);  // disabled trackbar
    EXPECT_EQ(desktop->getControlState(control::temperatureTrackbar), 10);

    // The group box's frame, between its top edge and the first label.
    QWidget* page = widget(control::autoLabel)->parentWidget();
    EXPECT_EQ(leftClick(page, QPoint(150, 5)), click);

    // A tab: the click switches the page and is reported as a plain click.
    auto* tabs = static_cast<QTabWidget*>(widget(control::tabPanel));
    QTabBar* bar = tabs->tabBar();
    EXPECT_EQ(leftClick(bar, bar->tabRect(1).center()), click);
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(MouseEvents, RightButtonOverAPushButtonIsNoClick) {
    QWidget* button = widget(control::kindButton);
    hover(button);
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(pollAll(*desktop), (Events{plain(event::rightDown), plain(event::rightUp)}));
}

TEST_F(MouseEvents, QueuedEventsComeOutOnePerPollInOrder) {
    // Everything below is delivered before the first poll.
    hover(surface(), QPoint(30, 30));
    for (int i = 0; i < 5; ++i) QTest::mouseClick(surface(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseClick(widget(control::kindButton), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(surface(), Qt::RightButton, {}, QPoint(30, 30));
    QTest::mouseRelease(surface(), Qt::RightButton, {}, QPoint(30, 30));

    Events expected;
    for (int i = 0; i < 5; ++i) {
        expected.push_back(plain(event::leftDown));
        expected.push_back(plain(event::leftUp));
    }
    expected.push_back(plain(event::leftDown));
    expected.push_back(control(control::kindButton));
    expected.push_back(plain(event::rightDown));
    expected.push_back(plain(event::rightUp));
    EXPECT_EQ(withoutMotion(pollAll(*desktop)), expected);
}

TEST_F(MouseEvents, EventControlDescribesTheEventLastPolled) {
    hover(widget(control::kindButton));
    QTest::mouseClick(widget(control::kindButton), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(desktop->pollEvent(), event::leftDown);
    EXPECT_EQ(desktop->eventControl(), -1);
    EXPECT_EQ(desktop->pollEvent(), event::control);
    EXPECT_EQ(desktop->eventControl(), control::kindButton);
    EXPECT_EQ(desktop->eventShortcut(), -1);
    EXPECT_EQ(desktop->pollEvent(), event::none);
    EXPECT_EQ(desktop->eventControl(), -1);
}

TEST_F(MouseEvents, CloseRequestIsReportedAndTheWindowStaysOpen) {
    window()->close();
    EXPECT_EQ(pollAll(*desktop), Events{plain(event::close)});
    EXPECT_TRUE(window()->isVisible());
    // The window system's close request (close box, system menu).
    window()->windowHandle()->close();
    EXPECT_EQ(pollAll(*desktop), Events{plain(event::close)});
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(MouseEvents, CursorPositionIsInClientCoordinates) {
    // Puts the pointer at `at` of `widget`: on a display with a real pointer by
    // moving that pointer (simulated events do not move it there), offscreen by a
    // simulated motion event (the offscreen pointer never moves by itself).
    auto pointTo = [&](QWidget* widget, QPoint at) {
        QCursor::setPos(widget->mapToGlobal(at));
        QTest::mouseMove(widget, at);
        pollAll(*desktop);
        return desktop->cursorPosition(0);
    };
    CursorPosition at = pointTo(surface(), QPoint(100, 50));
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 50);
    EXPECT_EQ(at.clientWidth, 715);
    EXPECT_EQ(at.clientHeight, 460);

    at = pointTo(widget(control::kindButton), QPoint(3, 4));
    EXPECT_EQ(at.x, 465 + 3);
    EXPECT_EQ(at.y, 210 + 4);

    // Over the page of the tab panel (page coordinates are not client coordinates).
    QWidget* label = widget(control::autoLabel);
    const QPoint client = label->mapTo(window(), QPoint(1, 1));
    at = pointTo(label, QPoint(1, 1));
    EXPECT_EQ(at.x, client.x());
    EXPECT_EQ(at.y, client.y());
    EXPECT_GT(at.x, 465);
    EXPECT_GT(at.y, 250);

    // Left of and below the client area.
    at = pointTo(window(), QPoint(-7, 470));
    EXPECT_EQ(at.x, -7);
    EXPECT_EQ(at.y, 470);
}

}  // namespace
}  // namespace vivarix::qttest
