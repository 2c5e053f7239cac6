// The sixteen keyboard shortcuts: whichever control has the focus, never with a
// modifier, never from the keypad, never while another window is active.
#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "qt_test_support.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

Qt::Key qtKey(char key) {
    return static_cast<Qt::Key>(key >= '0' && key <= '9' ? Qt::Key_0 + (key - '0') : Qt::Key_A + (key - 'A'));
}

bool hasShortcut(const Events& events) {
    for (const Polled& e : events)
        if (e.code == event::shortcut) return true;
    return false;
}

class Shortcuts : public ::testing::Test {
protected:
    TestWindow w;
    Desktop& d = *w.desktop;

    // Types `key` (with `modifiers`) into the window as the window system would.
    Events type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w.window()->windowHandle(), key, modifiers);
        return pollAll(d);
    }

    // Every shortcut key gives its shortcut event, then the key's release.
    void expectAllShortcuts(QWidget* focus, const char* what) {
        focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus) << what;
        for (const ShortcutKey& s : programShortcuts)
            EXPECT_EQ(type(qtKey(s.key)), (Events{shortcut(s.number), plain(event::keyUp)}))
                << what << ", key " << s.key;
        EXPECT_EQ(QApplication::focusWidget(), focus) << what;
    }
};

TEST_F(Shortcuts, EveryShortcutWorksWhicheverControlHasTheFocus) {
    expectAllShortcuts(w.window(), "window");
    expectAllShortcuts(w.control(ids::autoFeed), "trackbar");
    expectAllShortcuts(w.control(ids::placementButton), "image button");
    expectAllShortcuts(static_cast<QTabWidget*>(w.control(ids::panel))->tabBar(), "tab bar");
    w.showTab(2);
    expectAllShortcuts(w.control(ids::newPlate), "push button");
    expectAllShortcuts(w.control(ids::randomOption), "option");
    // The keys changed nothing on the focused controls.
    EXPECT_EQ(d.getControlState(ids::autoFeed), 10);
    EXPECT_EQ(d.getControlState(ids::randomOption), 1);
}

TEST_F(Shortcuts, NoneWithCtrlAltOrShift) {
    w.control(ids::autoFeed)->setFocus();
    for (const ShortcutKey& s : programShortcuts)
        for (const Qt::KeyboardModifiers modifiers : {Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier}) {
            const Events events = type(qtKey(s.key), modifiers);
            EXPECT_FALSE(hasShortcut(events)) << "key " << s.key << " modifiers " << modifiers;
            // The modifier and the key arrive as key presses and releases.
            EXPECT_EQ(events.size(), 4u) << "key " << s.key;
        }
    EXPECT_EQ(d.getControlState(ids::autoFeed), 10);
}

TEST_F(Shortcuts, KeypadDigitsAreOrdinaryKeys) {
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(type(static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::KeypadModifier),
                  (Events{plain(event::keyDown), plain(event::keyUp)}))
            << "keypad " << digit;
}

TEST_F(Shortcuts, OtherKeysAreOrdinaryKeys) {
    for (const Qt::Key key : {Qt::Key_X, Qt::Key_A, Qt::Key_Space, Qt::Key_F1})
        EXPECT_EQ(type(key), (Events{plain(event::keyDown), plain(event::keyUp)})) << key;
}

TEST_F(Shortcuts, NoneWhileAnotherWindowIsActive) {
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::keyClick(other.windowHandle(), Qt::Key_C);
    QTest::mouseClick(&other, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(pollAll(d), Events{});
    other.close();
    w.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window()));
    EXPECT_EQ(type(Qt::Key_C), (Events{shortcut(61), plain(event::keyUp)}));
}

TEST_F(Shortcuts, HeldKeyRepeatsTheShortcut) {
    QWindow* window = w.window()->windowHandle();
    QTest::keyPress(window, Qt::Key_P);
    QTest::simulateEvent(window, true, Qt::Key_P, Qt::NoModifier, QString("p"), true);
    QTest::keyRelease(window, Qt::Key_P);
    EXPECT_EQ(pollAll(d), (Events{shortcut(66), shortcut(66), plain(event::keyUp)}));
}

}  // namespace
}  // namespace vivarix::qttest
