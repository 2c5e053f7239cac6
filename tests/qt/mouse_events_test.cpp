// Mouse buttons over the surface and over the controls, one event per poll, in order.
#include <QCursor>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>

#include "qt_test_support.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

class MouseEvents : public ::testing::Test {
protected:
    TestWindow w;
    Desktop& d = *w.desktop;

    // Moves the pointer over `widget` at `at` and polls the motion away, so that the
    // next click starts where the pointer already is.
    void hover(QWidget* widget, QPoint at = QPoint(5, 5)) {
        QTest::mouseMove(widget, at);
        pollAll(d);
    }

    Events leftClick(QWidget* widget, QPoint at = QPoint(5, 5)) {
        hover(widget, at);
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        return pollAll(d);
    }
};

TEST_F(MouseEvents, BuildingTheWindowRaisesNothing) { EXPECT_EQ(w.eventsWhileBuilding, Events{}); }

TEST_F(MouseEvents, EmptyQueuePollsZeroAtOnce) {
    EXPECT_EQ(d.pollEvent(), event::none);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(d.pollEvent(), event::none);
    // A poll that waited for events would take at least a scheduler tick each.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST_F(MouseEvents, LeftClickOnTheSurfaceIsPressThenRelease) {
    EXPECT_EQ(leftClick(w.surface(), QPoint(100, 120)), (Events{plain(event::leftDown), plain(event::leftUp)}));
}

TEST_F(MouseEvents, RightPressAndReleaseArriveSeparately) {
    hover(w.surface(), QPoint(200, 200));
    QTest::mousePress(w.surface(), Qt::RightButton, {}, QPoint(200, 200));
    EXPECT_EQ(d.pollEvent(), event::rightDown);
    EXPECT_EQ(d.pollEvent(), event::none);
    QTest::mouseRelease(w.surface(), Qt::RightButton, {}, QPoint(200, 200));
    EXPECT_EQ(d.pollEvent(), event::rightUp);
    EXPECT_EQ(d.pollEvent(), event::none);
}

TEST_F(MouseEvents, PointerMotionIsReported) {
    QTest::mouseMove(w.surface(), QPoint(10, 10));
    QTest::mouseMove(w.surface(), QPoint(11, 10));
    EXPECT_EQ(pollAll(d), (Events{plain(event::pointerMove), plain(event::pointerMove)}));
}

TEST_F(MouseEvents, DoubleClickIsTwoClicks) {
    hover(w.surface(), QPoint(50, 60));
    QTest::mouseDClick(w.surface(), Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(withoutMotion(pollAll(d)), (Events{plain(event::leftDown), plain(event::leftUp),
                                                 plain(event::leftDown), plain(event::leftUp)}));
    QWidget* button = w.control(ids::placementButton);
    hover(button);
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(withoutMotion(pollAll(d)), (Events{plain(event::leftDown), control(ids::placementButton),
                                                 plain(event::leftDown), control(ids::placementButton)}));
}

TEST_F(MouseEvents, ClickedButtonsReplaceTheReleaseByTheirControlEvent) {
    EXPECT_EQ(leftClick(w.control(ids::placementButton)),
              (Events{plain(event::leftDown), control(ids::placementButton)}));
    EXPECT_EQ(leftClick(w.control(ids::statsButton)), (Events{plain(event::leftDown), control(ids::statsButton)}));
    w.showTab(2);
    EXPECT_EQ(leftClick(w.control(ids::newPlate)), (Events{plain(event::leftDown), control(ids::newPlate)}));
}

TEST_F(MouseEvents, ClickingAnOptionSelectsItAndClearsTheOther) {
    w.showTab(2);
    EXPECT_EQ(leftClick(w.control(ids::emptyOption)), (Events{plain(event::leftDown), control(ids::emptyOption)}));
    EXPECT_EQ(d.getControlState(ids::emptyOption), 1);
    EXPECT_EQ(d.getControlState(ids::randomOption), 0);
    // Clicking the selected option again is still a click.
    EXPECT_EQ(leftClick(w.control(ids::emptyOption)), (Events{plain(event::leftDown), control(ids::emptyOption)}));
    EXPECT_EQ(leftClick(w.control(ids::randomOption)), (Events{plain(event::leftDown), control(ids::randomOption)}));
    EXPECT_EQ(d.getControlState(ids::emptyOption), 0);
    EXPECT_EQ(d.getControlState(ids::randomOption), 1);
}

TEST_F(MouseEvents, ControlsThatRaiseNothingPassTheButtonsOn) {
    const Events click{plain(event::leftDown), plain(event::leftUp)};
    EXPECT_EQ(leftClick(w.control(ids::autoLabel)), click);
    EXPECT_EQ(leftClick(w.control(ids::inspectorView), QPoint(100, 100)), click);
    EXPECT_EQ(leftClick(w.control(ids::temperature), QPoint(100, 10)), click);  // disabled trackbar
    EXPECT_EQ(d.getControlState(ids::temperature), 10);

    // The group box's frame, between its top edge and the first label.
    QWidget* page = w.control(ids::autoLabel)->parentWidget();
    EXPECT_EQ(leftClick(page, QPoint(150, 5)), click);

    // A tab: the click switches the page and is reported as a plain click.
    auto* tabs = static_cast<QTabWidget*>(w.control(ids::panel));
    QTabBar* bar = tabs->tabBar();
    EXPECT_EQ(leftClick(bar, bar->tabRect(1).center()), click);
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(MouseEvents, RightButtonOverAPushButtonIsNoClick) {
    QWidget* button = w.control(ids::placementButton);
    hover(button);
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(pollAll(d), (Events{plain(event::rightDown), plain(event::rightUp)}));
}

TEST_F(MouseEvents, QueuedEventsComeOutOnePerPollInOrder) {
    // Everything below is delivered before the first poll.
    hover(w.surface(), QPoint(30, 30));
    for (int i = 0; i < 5; ++i) QTest::mouseClick(w.surface(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseClick(w.control(ids::placementButton), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(w.surface(), Qt::RightButton, {}, QPoint(30, 30));
    QTest::mouseRelease(w.surface(), Qt::RightButton, {}, QPoint(30, 30));

    Events expected;
    for (int i = 0; i < 5; ++i) {
        expected.push_back(plain(event::leftDown));
        expected.push_back(plain(event::leftUp));
    }
    expected.push_back(plain(event::leftDown));
    expected.push_back(control(ids::placementButton));
    expected.push_back(plain(event::rightDown));
    expected.push_back(plain(event::rightUp));
    EXPECT_EQ(withoutMotion(pollAll(d)), expected);
}

TEST_F(MouseEvents, EventControlDescribesTheEventLastPolled) {
    hover(w.control(ids::placementButton));
    QTest::mouseClick(w.control(ids::placementButton), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(d.pollEvent(), event::leftDown);
    EXPECT_EQ(d.eventControl(), -1);
    EXPECT_EQ(d.pollEvent(), event::control);
    EXPECT_EQ(d.eventControl(), ids::placementButton);
    EXPECT_EQ(d.eventShortcut(), -1);
    EXPECT_EQ(d.pollEvent(), event::none);
    EXPECT_EQ(d.eventControl(), -1);
}

TEST_F(MouseEvents, CloseRequestIsReportedAndTheWindowStaysOpen) {
    w.window()->close();
    EXPECT_EQ(pollAll(d), Events{plain(event::close)});
    EXPECT_TRUE(w.window()->isVisible());
    // The window system's close request (close box, system menu).
    w.window()->windowHandle()->close();
    EXPECT_EQ(pollAll(d), Events{plain(event::close)});
    EXPECT_TRUE(w.window()->isVisible());
}

TEST_F(MouseEvents, CursorPositionIsInClientCoordinates) {
    // Puts the pointer at `at` of `widget`: on a display with a real pointer by
    // moving that pointer (simulated events do not move it there), offscreen by a
    // simulated motion event (the offscreen pointer never moves by itself).
    auto pointTo = [&](QWidget* widget, QPoint at) {
        QCursor::setPos(widget->mapToGlobal(at));
        QTest::mouseMove(widget, at);
        pollAll(d);
        return d.cursorPosition(0);
    };
    CursorPosition at = pointTo(w.surface(), QPoint(100, 50));
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 50);
    EXPECT_EQ(at.clientWidth, 715);
    EXPECT_EQ(at.clientHeight, 460);

    at = pointTo(w.control(ids::placementButton), QPoint(3, 4));
    EXPECT_EQ(at.x, 465 + 3);
    EXPECT_EQ(at.y, 210 + 4);

    // Over the page of the tab panel (page coordinates are not client coordinates).
    QWidget* label = w.control(ids::autoLabel);
    const QPoint client = label->mapTo(w.window(), QPoint(1, 1));
    at = pointTo(label, QPoint(1, 1));
    EXPECT_EQ(at.x, client.x());
    EXPECT_EQ(at.y, client.y());
    EXPECT_GT(at.x, 465);
    EXPECT_GT(at.y, 250);

    // Left of and below the client area.
    at = pointTo(w.window(), QPoint(-7, 470));
    EXPECT_EQ(at.x, -7);
    EXPECT_EQ(at.y, 470);
}

}  // namespace
}  // namespace vivarix::qttest
