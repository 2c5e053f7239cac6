// Trackbars and options: their events, their state, and that only the user raises events.
#include <QApplication>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "assets/builtin_images.h"
#include "qt_test_support.h"
#include "render/magnifier.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

class Trackbars : public ProgramWindow {
protected:
    QSlider* slider(std::int32_t number) const { return static_cast<QSlider*>(widget(number)); }

    // Presses the left button on the knob, drags it `steps` times by `dx` pixels and
    // releases it; returns the events and the positions read after every poll.
    Events drag(std::int32_t number, int dx, int steps, std::vector<std::int32_t>* positions = nullptr) {
        QSlider* s = slider(number);
        QPoint at = handleRect(s).center();
        QTest::mouseMove(s, at);
        pollAll(*desktop);
        QTest::mousePress(s, Qt::LeftButton, {}, at);
        for (int i = 0; i < steps; ++i) {
            at.rx() += dx;
            QTest::mouseMove(s, at);
        }
        QTest::mouseRelease(s, Qt::LeftButton, {}, at);
        Events events;
        while (std::int32_t code = desktop->pollEvent()) {
            events.push_back(Polled{code, code == event::control ? desktop->eventControl() : -1});
            if (positions) positions->push_back(desktop->getControlState(number));
        }
        return events;
    }

    Events keyOnFocused(std::int32_t number, Qt::Key key) {
        slider(number)->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), slider(number));
        QTest::keyClick(window()->windowHandle(), key);
        return pollAll(*desktop);
    }
};

TEST_F(Trackbars, DragRaisesAnEventPerStepAndOneAtTheEnd) {
    const Events events = drag(control::autoTrackbar, 12, 3);
    // The press itself starts no move; every drag step and the release do.
    EXPECT_EQ(events, (Events{plain(event::leftDown), control(control::autoTrackbar), control(control::autoTrackbar),
                              control(control::autoTrackbar), control(control::autoTrackbar)}));
    EXPECT_GT(desktop->getControlState(control::autoTrackbar), 10);
    EXPECT_LE(desktop->getControlState(control::autoTrackbar), 40);
}

TEST_F(Trackbars, PressAndReleaseOnTheKnobEndsAMove) {
    EXPECT_EQ(drag(control::autoTrackbar, 0, 0), (Events{plain(event::leftDown), control(control::autoTrackbar)}));
    EXPECT_EQ(desktop->getControlState(control::autoTrackbar), 10);
}

TEST_F(Trackbars, ClickOnTheGroovePagesByAFifthOfTheRange) {
    QSlider* s = slider(control::autoTrackbar);
    const QPoint groove(s->width() - 3, handleRect(s).center().y());
    QTest::mouseMove(s, groove);
    pollAll(*desktop);
    QTest::mouseClick(s, Qt::LeftButton, {}, groove);
    // The page happens on the press, the end of the move on the release.
    EXPECT_EQ(pollAll(*desktop), (Events{control(control::autoTrackbar), control(control::autoTrackbar)}));
    EXPECT_EQ(desktop->getControlState(control::autoTrackbar), 10 + 40 / 5);
}

TEST_F(Trackbars, HoldingTheButtonOnTheGrooveKeepsPaging) {
    QSlider* s = slider(control::autoTrackbar);
    const QPoint groove(s->width() - 3, handleRect(s).center().y());
    QTest::mouseMove(s, groove);
    pollAll(*desktop);
    QTest::mousePress(s, Qt::LeftButton, {}, groove);
    // Qt repeats the page from a timer after a pause: those pages are events too.
    QTest::qWait(900);
    QTest::mouseRelease(s, Qt::LeftButton, {}, groove);
    const Events events = pollAll(*desktop);
    ASSERT_GE(events.size(), 3u);
    for (const Polled& e : events) EXPECT_EQ(e, control(control::autoTrackbar));
    EXPECT_GT(desktop->getControlState(control::autoTrackbar), 10 + 40 / 5);
}

TEST_F(Trackbars, KeysStepTheFocusedTrackbarAndEndTheMoveOnRelease) {
    const Events stepAndEnd{control(control::autoTrackbar), control(control::autoTrackbar)};
    for (const auto& [key, position] :
         {std::pair{Qt::Key_Right, 11}, {Qt::Key_Left, 10}, {Qt::Key_PageUp, 18}, {Qt::Key_End, 40}}) {
        EXPECT_EQ(keyOnFocused(control::autoTrackbar, key), stepAndEnd) << key;
        EXPECT_EQ(desktop->getControlState(control::autoTrackbar), position) << key;
    }
    // A key the trackbar does not use is an ordinary key.
    EXPECT_EQ(keyOnFocused(control::autoTrackbar, Qt::Key_X), (Events{plain(event::keyDown), plain(event::keyUp)}));
}

TEST_F(Trackbars, RangeTwoToTwelveReportsOnlyTwoToTwelve) {
    EXPECT_EQ(desktop->getControlState(control::spreadTrackbar), 12);
    desktop->setControlState(control::spreadTrackbar, 100);
    EXPECT_EQ(desktop->getControlState(control::spreadTrackbar), 12);
    desktop->setControlState(control::spreadTrackbar, -5);
    EXPECT_EQ(desktop->getControlState(control::spreadTrackbar), 2);
    desktop->setControlState(control::spreadTrackbar, 7);
    EXPECT_EQ(desktop->getControlState(control::spreadTrackbar), 7);

    std::vector<std::int32_t> positions;
    drag(control::spreadTrackbar, 40, 4, &positions);  // far past the right end
    EXPECT_EQ(desktop->getControlState(control::spreadTrackbar), 12);
    drag(control::spreadTrackbar, -40, 4, &positions);  // far past the left end
    EXPECT_EQ(desktop->getControlState(control::spreadTrackbar), 2);
    keyOnFocused(control::spreadTrackbar, Qt::Key_Home);
    positions.push_back(desktop->getControlState(control::spreadTrackbar));
    keyOnFocused(control::spreadTrackbar, Qt::Key_End);
    positions.push_back(desktop->getControlState(control::spreadTrackbar));
    ASSERT_FALSE(positions.empty());
    for (std::int32_t p : positions) {
        EXPECT_GE(p, 2);
        EXPECT_LE(p, 12);
    }
}

TEST_F(Trackbars, ProgramChangesRaiseNoEvents) {
    desktop->setControlState(control::autoTrackbar, 33);
    desktop->setControlState(control::magenTrackbar, 50);
    desktop->setControlState(control::emptyOption, 1);
    desktop->setControlState(control::randomOption, 1);
    desktop->setControlState(control::kindButton, imageHandle(state->graphics, kind1Image));
    desktop->setControlState(control::inspectorView, imageHandle(state->graphics, inspectorImage));
    desktop->setControlText(control::autoLabel, "Auto: 264");
    desktop->disableControl(control::newPlateButton, 1);
    desktop->disableControl(control::newPlateButton, 0);
    EXPECT_EQ(pollAll(*desktop), Events{});
    EXPECT_EQ(desktop->getControlState(control::autoTrackbar), 33);
    EXPECT_EQ(desktop->getControlState(control::magenTrackbar), 50);
}

TEST_F(Trackbars, OptionsFormOneGroup) {
    EXPECT_EQ(desktop->getControlState(control::randomOption), 1);
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 0);
    desktop->setControlState(control::emptyOption, 1);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 0);
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 1);
    desktop->setControlState(control::randomOption, 1);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 1);
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 0);
    // 0 clears a selected option, leaving none selected.
    desktop->setControlState(control::randomOption, 0);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 0);
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 0);
    desktop->setControlState(control::emptyOption, 1);
    EXPECT_EQ(desktop->getControlState(control::emptyOption), 1);
}

TEST_F(Trackbars, OptionRunsSeparatedByOtherControlsAreSeparateGroups) {
    const Graphics none;
    const auto bare = newDesktop(none);
    ASSERT_TRUE(bare->openWindow(0, 0, 0, 300, 200, "Groups"));
    ASSERT_TRUE(bare->beginControls(0));
    bare->createOption(1, 5, 5, 60, 20, "A");
    bare->createOption(2, 5, 25, 60, 20, "B");
    bare->createText(3, 5, 45, 60, 20, "between");
    bare->createOption(4, 5, 65, 60, 20, "C");
    bare->createOption(5, 5, 85, 60, 20, "D");
    bare->endControls();
    bare->setControlState(1, 1);
    bare->setControlState(4, 1);
    EXPECT_EQ(bare->getControlState(1), 1);
    bare->setControlState(5, 1);
    EXPECT_EQ(bare->getControlState(1), 1);
    EXPECT_EQ(bare->getControlState(4), 0);
    bare->setControlState(2, 1);
    EXPECT_EQ(bare->getControlState(1), 0);
    EXPECT_EQ(bare->getControlState(5), 1);
}

TEST_F(Trackbars, StateOfOtherControlsAndUnknownNumbersReadsZero) {
    EXPECT_EQ(desktop->getControlState(control::newPlateButton), 0);
    EXPECT_EQ(desktop->getControlState(control::autoLabel), 0);
    EXPECT_EQ(desktop->getControlState(control::tabPanel), 0);
    EXPECT_EQ(desktop->getControlState(control::kindButton), 0);
    EXPECT_EQ(desktop->getControlState(999), 0);
    EXPECT_EQ(desktop->getControlState(-1), 0);
    desktop->setControlState(999, 5);  // nothing to set
    desktop->setControlText(999, "x");
    desktop->disableControl(999, 1);
    EXPECT_EQ(desktop->getControlState(999), 0);
}

TEST_F(Trackbars, AreHorizontalWithATickAtEveryPosition) {
    QSlider* s = slider(control::spreadTrackbar);
    EXPECT_EQ(s->orientation(), Qt::Horizontal);
    EXPECT_NE(s->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(s->tickInterval(), 1);
}

}  // namespace
}  // namespace vivarix::qttest
