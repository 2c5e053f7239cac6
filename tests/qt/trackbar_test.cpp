// Trackbars and options: their events, their state, and that only the user raises events.
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_test_support.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

class Trackbars : public ::testing::Test {
protected:
    TestWindow w;
    Desktop& d = *w.desktop;

    QSlider* slider(std::int32_t number) const { return static_cast<QSlider*>(w.control(number)); }

    // Presses the left button on the knob, drags it `steps` times by `dx` pixels and
    // releases it; returns the events and the positions read after every poll.
    Events drag(std::int32_t number, int dx, int steps, std::vector<std::int32_t>* positions = nullptr) {
        QSlider* s = slider(number);
        QPoint at = handleRect(s).center();
        QTest::mouseMove(s, at);
        pollAll(d);
        QTest::mousePress(s, Qt::LeftButton, {}, at);
        for (int i = 0; i < steps; ++i) {
            at.rx() += dx;
            QTest::mouseMove(s, at);
        }
        QTest::mouseRelease(s, Qt::LeftButton, {}, at);
        Events events;
        while (std::int32_t code = d.pollEvent()) {
            events.push_back(Polled{code, code == event::control ? d.eventControl() : -1});
            if (positions) positions->push_back(d.getControlState(number));
        }
        return events;
    }

    Events keyOnFocused(std::int32_t number, Qt::Key key) {
        slider(number)->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), slider(number));
        QTest::keyClick(w.window()->windowHandle(), key);
        return pollAll(d);
    }
};

TEST_F(Trackbars, DragRaisesAnEventPerStepAndOneAtTheEnd) {
    const Events events = drag(ids::autoFeed, 12, 3);
    // The press itself starts no move; every drag step and the release do.
    EXPECT_EQ(events, (Events{plain(event::leftDown), control(ids::autoFeed), control(ids::autoFeed),
                              control(ids::autoFeed), control(ids::autoFeed)}));
    EXPECT_GT(d.getControlState(ids::autoFeed), 10);
    EXPECT_LE(d.getControlState(ids::autoFeed), 40);
}

TEST_F(Trackbars, PressAndReleaseOnTheKnobEndsAMove) {
    EXPECT_EQ(drag(ids::autoFeed, 0, 0), (Events{plain(event::leftDown), control(ids::autoFeed)}));
    EXPECT_EQ(d.getControlState(ids::autoFeed), 10);
}

TEST_F(Trackbars, ClickOnTheGroovePagesByAFifthOfTheRange) {
    QSlider* s = slider(ids::autoFeed);
    const QPoint groove(s->width() - 3, handleRect(s).center().y());
    QTest::mouseMove(s, groove);
    pollAll(d);
    QTest::mouseClick(s, Qt::LeftButton, {}, groove);
    // The page happens on the press, the end of the move on the release.
    EXPECT_EQ(pollAll(d), (Events{control(ids::autoFeed), control(ids::autoFeed)}));
    EXPECT_EQ(d.getControlState(ids::autoFeed), 10 + 40 / 5);
}

TEST_F(Trackbars, HoldingTheButtonOnTheGrooveKeepsPaging) {
    QSlider* s = slider(ids::autoFeed);
    const QPoint groove(s->width() - 3, handleRect(s).center().y());
    QTest::mouseMove(s, groove);
    pollAll(d);
    QTest::mousePress(s, Qt::LeftButton, {}, groove);
    // Qt repeats the page from a timer after a pause: those pages are events too.
    QTest::qWait(900);
    QTest::mouseRelease(s, Qt::LeftButton, {}, groove);
    const Events events = pollAll(d);
    ASSERT_GE(events.size(), 3u);
    for (const Polled& e : events) EXPECT_EQ(e, control(ids::autoFeed));
    EXPECT_GT(d.getControlState(ids::autoFeed), 10 + 40 / 5);
}

TEST_F(Trackbars, KeysStepTheFocusedTrackbarAndEndTheMoveOnRelease) {
    EXPECT_EQ(keyOnFocused(ids::autoFeed, Qt::Key_Right), (Events{control(ids::autoFeed), control(ids::autoFeed)}));
    EXPECT_EQ(d.getControlState(ids::autoFeed), 11);
    EXPECT_EQ(keyOnFocused(ids::autoFeed, Qt::Key_Left), (Events{control(ids::autoFeed), control(ids::autoFeed)}));
    EXPECT_EQ(d.getControlState(ids::autoFeed), 10);
    EXPECT_EQ(keyOnFocused(ids::autoFeed, Qt::Key_PageUp), (Events{control(ids::autoFeed), control(ids::autoFeed)}));
    EXPECT_EQ(d.getControlState(ids::autoFeed), 18);
    EXPECT_EQ(keyOnFocused(ids::autoFeed, Qt::Key_End), (Events{control(ids::autoFeed), control(ids::autoFeed)}));
    EXPECT_EQ(d.getControlState(ids::autoFeed), 40);
    // A key the trackbar does not use is an ordinary key.
    EXPECT_EQ(keyOnFocused(ids::autoFeed, Qt::Key_X), (Events{plain(event::keyDown), plain(event::keyUp)}));
}

TEST_F(Trackbars, RangeTwoToTwelveReportsOnlyTwoToTwelve) {
    EXPECT_EQ(d.getControlState(ids::spread), 12);
    d.setControlState(ids::spread, 100);
    EXPECT_EQ(d.getControlState(ids::spread), 12);
    d.setControlState(ids::spread, -5);
    EXPECT_EQ(d.getControlState(ids::spread), 2);
    d.setControlState(ids::spread, 7);
    EXPECT_EQ(d.getControlState(ids::spread), 7);

    std::vector<std::int32_t> positions;
    drag(ids::spread, 40, 4, &positions);  // far past the right end
    EXPECT_EQ(d.getControlState(ids::spread), 12);
    drag(ids::spread, -40, 4, &positions);  // far past the left end
    EXPECT_EQ(d.getControlState(ids::spread), 2);
    keyOnFocused(ids::spread, Qt::Key_Home);
    positions.push_back(d.getControlState(ids::spread));
    keyOnFocused(ids::spread, Qt::Key_End);
    positions.push_back(d.getControlState(ids::spread));
    ASSERT_FALSE(positions.empty());
    for (std::int32_t p : positions) {
        EXPECT_GE(p, 2);
        EXPECT_LE(p, 12);
    }
}

TEST_F(Trackbars, ProgramChangesRaiseNoEvents) {
    d.setControlState(ids::autoFeed, 33);
    d.setControlState(ids::stomach, 50);
    d.setControlState(ids::emptyOption, 1);
    d.setControlState(ids::randomOption, 1);
    d.setControlState(ids::placementButton, imageHandle(w.images.graphics, ids::iconCool));
    d.setControlState(ids::inspectorView, imageHandle(w.images.graphics, ids::inspectorImage));
    d.setControlText(ids::autoLabel, "Auto: 264");
    d.disableControl(ids::newPlate, 1);
    d.disableControl(ids::newPlate, 0);
    EXPECT_EQ(pollAll(d), Events{});
    EXPECT_EQ(d.getControlState(ids::autoFeed), 33);
    EXPECT_EQ(d.getControlState(ids::stomach), 50);
}

TEST_F(Trackbars, OptionsFormOneGroup) {
    EXPECT_EQ(d.getControlState(ids::randomOption), 1);
    EXPECT_EQ(d.getControlState(ids::emptyOption), 0);
    d.setControlState(ids::emptyOption, 1);
    EXPECT_EQ(d.getControlState(ids::randomOption), 0);
    EXPECT_EQ(d.getControlState(ids::emptyOption), 1);
    d.setControlState(ids::randomOption, 1);
    EXPECT_EQ(d.getControlState(ids::randomOption), 1);
    EXPECT_EQ(d.getControlState(ids::emptyOption), 0);
    // 0 clears a selected option, leaving none selected.
    d.setControlState(ids::randomOption, 0);
    EXPECT_EQ(d.getControlState(ids::randomOption), 0);
    EXPECT_EQ(d.getControlState(ids::emptyOption), 0);
    d.setControlState(ids::emptyOption, 1);
    EXPECT_EQ(d.getControlState(ids::emptyOption), 1);
}

TEST_F(Trackbars, OptionRunsSeparatedByOtherControlsAreSeparateGroups) {
    TestImages images;
    const auto desktop = newDesktop(images.graphics);
    ASSERT_TRUE(desktop->openWindow(0, 0, 0, 300, 200, "Groups"));
    ASSERT_TRUE(desktop->beginControls(0));
    desktop->createOption(1, 5, 5, 60, 20, "A");
    desktop->createOption(2, 5, 25, 60, 20, "B");
    desktop->createText(3, 5, 45, 60, 20, "between");
    desktop->createOption(4, 5, 65, 60, 20, "C");
    desktop->createOption(5, 5, 85, 60, 20, "D");
    desktop->endControls();
    desktop->setControlState(1, 1);
    desktop->setControlState(4, 1);
    EXPECT_EQ(desktop->getControlState(1), 1);
    desktop->setControlState(5, 1);
    EXPECT_EQ(desktop->getControlState(1), 1);
    EXPECT_EQ(desktop->getControlState(4), 0);
    desktop->setControlState(2, 1);
    EXPECT_EQ(desktop->getControlState(1), 0);
    EXPECT_EQ(desktop->getControlState(5), 1);
}

TEST_F(Trackbars, StateOfOtherControlsAndUnknownNumbersReadsZero) {
    EXPECT_EQ(d.getControlState(ids::newPlate), 0);
    EXPECT_EQ(d.getControlState(ids::autoLabel), 0);
    EXPECT_EQ(d.getControlState(ids::panel), 0);
    EXPECT_EQ(d.getControlState(ids::placementButton), 0);
    EXPECT_EQ(d.getControlState(999), 0);
    EXPECT_EQ(d.getControlState(-1), 0);
    d.setControlState(999, 5);  // nothing to set
    d.setControlText(999, "x");
    d.disableControl(999, 1);
    EXPECT_EQ(d.getControlState(999), 0);
}

TEST_F(Trackbars, CreationArguments) {
    QSlider* s = slider(ids::spread);
    EXPECT_EQ(s->orientation(), Qt::Horizontal);
    EXPECT_EQ(s->minimum(), 2);
    EXPECT_EQ(s->maximum(), 12);
    EXPECT_NE(s->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(s->tickInterval(), 1);
    EXPECT_EQ(s->geometry(), QRect(5, 80, 115, 20));
    EXPECT_FALSE(slider(ids::temperature)->isEnabled());
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(Trackbars, ANumberUsedTwiceNamesTheLaterControl) {
    w.showTab(3);
    QWidget* about = w.control(ids::sizeLabel);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());  // on the "About" page, now shown
    d.setControlText(ids::sizeLabel, "changed");
    EXPECT_EQ(static_cast<QLabel*>(about)->text(), QString("changed"));
    w.showTab(2);
    EXPECT_FALSE(about->isVisible());
}

}  // namespace
}  // namespace vivarix::qttest
