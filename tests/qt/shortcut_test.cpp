// The sixteen keyboard shortcuts: whichever control has the focus, never with a
// modifier, never from the keypad, never while another window is active; digits by
// their place on the main row and letters by the letter on the key, on any layout.
#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "app/control_panel.h"
#include "qt_test_support.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

bool hasShortcut(const Events& events) {
    for (const Polled& e : events)
        if (e.code == event::shortcut) return true;
    return false;
}

class Shortcuts : public ProgramWindow {
protected:
    // Types `key` (with `modifiers`) into the window as the window system would.
    Events type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window()->windowHandle(), key, modifiers);
        return pollAll(*desktop);
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
    expectAllShortcuts(window(), "window");
    expectAllShortcuts(widget(control::autoTrackbar), "trackbar");
    expectAllShortcuts(widget(control::kindButton), "image button");
    expectAllShortcuts(static_cast<QTabWidget*>(widget(control::tabPanel))->tabBar(), "tab bar");
    showTab(2);
    expectAllShortcuts(widget(control::newPlateButton), "push button");
    expectAllShortcuts(widget(control::randomOption), "option");
    // The keys changed nothing on the focused controls.
    EXPECT_EQ(desktop->getControlState(control::autoTrackbar), 10);
    EXPECT_EQ(desktop->getControlState(control::randomOption), 1);
}

TEST_F(Shortcuts, NoneWithCtrlAltOrShift) {
    widget(control::autoTrackbar)->setFocus();
    for (const ShortcutKey& s : programShortcuts)
        for (const Qt::KeyboardModifiers modifiers : {Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier}) {
            // Ctrl+S saves the session, Ctrl+G goes to a tick of a replay.
            if ((s.key == 'S' || s.key == 'G') && modifiers == Qt::ControlModifier) continue;
            const Events events = type(qtKey(s.key), modifiers);
            EXPECT_FALSE(hasShortcut(events)) << "key " << s.key << " modifiers " << modifiers;
            // The modifier and the key arrive as key presses and releases.
            EXPECT_EQ(events.size(), 4u) << "key " << s.key;
        }
    EXPECT_EQ(desktop->getControlState(control::autoTrackbar), 10);
}

TEST_F(Shortcuts, KeypadDigitsAreOrdinaryKeys) {
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(type(static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::KeypadModifier),
                  (Events{plain(event::keyDown), plain(event::keyUp)}))
            << "keypad " << digit;
}

TEST_F(Shortcuts, OtherKeysAreOrdinaryKeys) {
    for (const Qt::Key key : {Qt::Key_X, Qt::Key_A, Qt::Key_Space, Qt::Key_F2})
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
    EXPECT_EQ(pollAll(*desktop), Events{});
    other.close();
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    EXPECT_EQ(type(Qt::Key_C), (Events{shortcut(shortcut::kind0), plain(event::keyUp)}));
}

TEST_F(Shortcuts, HeldKeyRepeatsTheShortcut) {
    QWindow* handle = window()->windowHandle();
    QTest::keyPress(handle, Qt::Key_P);
    QTest::simulateEvent(handle, true, Qt::Key_P, Qt::NoModifier, QString("p"), true);
    QTest::keyRelease(handle, Qt::Key_P);
    EXPECT_EQ(pollAll(*desktop), (Events{shortcut(shortcut::pause), shortcut(shortcut::pause), plain(event::keyUp)}));
}

// Keys as X11 reports them on other layouts (XKB keycodes, keysyms, modifier masks).
struct LayoutKey {
    const char* what;
    NativeKey key;
    std::int32_t shortcut;  // -1: an ordinary key
};

constexpr quint32 controlMask = 0x4, mod1Mask = 0x8, mod2Mask = 0x10;  // X11: Ctrl, Alt, NumLock

const LayoutKey layoutKeys[] = {
    // AZERTY's main row writes & é " ' ( - è _ ç à without Shift: still 1 .. 9, 0.
    {"AZERTY &", {Qt::Key_Ampersand, "&", 10, 0x26}, shortcut::delay0 + 1},
    {"AZERTY é", {Qt::Key_Eacute, "é", 11, 0xe9}, shortcut::delay0 + 2},
    {"AZERTY \"", {Qt::Key_QuoteDbl, "\"", 12, 0x22}, shortcut::delay0 + 3},
    {"AZERTY '", {Qt::Key_Apostrophe, "'", 13, 0x27}, shortcut::delay0 + 4},
    {"AZERTY (", {Qt::Key_ParenLeft, "(", 14, 0x28}, shortcut::delay0 + 5},
    {"AZERTY -", {Qt::Key_Minus, "-", 15, 0x2d}, shortcut::delay0 + 6},
    {"AZERTY è", {Qt::Key_Egrave, "è", 16, 0xe8}, shortcut::delay0 + 7},
    {"AZERTY _", {Qt::Key_Underscore, "_", 17, 0x5f}, shortcut::delay0 + 8},
    {"AZERTY ç", {Qt::Key_Ccedilla, "ç", 18, 0xe7}, shortcut::delay0 + 9},
    {"AZERTY à", {Qt::Key_Agrave, "à", 19, 0xe0}, shortcut::delay0},
    {"AZERTY Shift+& (1)", {Qt::Key_1, "1", 10, 0x31, Qt::ShiftModifier, 0x1}, -1},
    {"AZERTY Ctrl+&", {Qt::Key_Ampersand, "", 10, 0x26, Qt::ControlModifier, controlMask}, -1},
    {"QWERTZ ß", {Qt::Key_ssharp, "ß", 20, 0xdf}, -1},
    {"QWERTZ Alt+G", {Qt::Key_G, "", 42, 0x67, Qt::AltModifier, mod1Mask}, -1},
    // Dvorak: the letters sit on other keys than on QWERTY, and the shortcut goes with them.
    {"Dvorak C", {Qt::Key_C, "c", 31, 0x63}, shortcut::kind0},
    {"Dvorak S", {Qt::Key_S, "s", 47, 0x73}, shortcut::kind1},
    {"Dvorak P", {Qt::Key_P, "p", 27, 0x70}, shortcut::pause},
    {"Dvorak J on QWERTY's C", {Qt::Key_J, "j", 54, 0x6a}, -1},
    {"Dvorak O on QWERTY's S", {Qt::Key_O, "o", 39, 0x6f}, -1},
    // A Cyrillic layout: the Latin letter of the key.
    {"Russian С on C", {static_cast<Qt::Key>(0x421), "с", 54, 0x6d3}, shortcut::kind0},
    {"Russian К on R", {static_cast<Qt::Key>(0x41a), "к", 27, 0x6cb}, shortcut::moveMagnifier},
    {"Russian Ж on ;", {static_cast<Qt::Key>(0x416), "ж", 47, 0x6d6}, -1},
    {"keypad 1", {Qt::Key_1, "1", 87, 0xffb1, Qt::KeypadModifier, mod2Mask}, -1},
};

TEST_F(Shortcuts, DigitsFollowTheKeysPlaceAndLettersTheLetterOnTheKey) {
    widget(control::autoTrackbar)->setFocus();
    for (const LayoutKey& k : layoutKeys) {
        typeNative(window()->windowHandle(), k.key);
        const Events expected = k.shortcut == -1 ? Events{plain(event::keyDown), plain(event::keyUp)}
                                                 : Events{shortcut(k.shortcut), plain(event::keyUp)};
        EXPECT_EQ(pollAll(*desktop), expected) << k.what;
    }
    EXPECT_EQ(desktop->getControlState(control::autoTrackbar), 10);
}

}  // namespace
}  // namespace vivarix::qttest
