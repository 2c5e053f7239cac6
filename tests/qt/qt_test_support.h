// Shared pieces of the Qt desktop tests: the one Qt application of the test binary,
// the program's own window as start-up leaves it, and event collection.
#pragma once

#include <QFileDialog>
#include <QRect>
#include <QSlider>
#include <QTimer>
#include <QWindow>
#include <QWidget>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/app_state.h"
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

// The program after its own start-up on a new desktop: its window with the control
// panel and the sixteen shortcuts, active, with the events of start-up polled.
class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QWidget* window() const;
    QWidget* surface() const;
    // The widget of control `number`.
    QWidget* widget(std::int32_t number) const;
    // The text of a text control.
    std::string label(std::int32_t number) const;
    // Shows the tab with this index (0 = "Global Parameters") as the user would see it.
    void showTab(int index) const;
    // Runs `n` passes of the main loop; none may end it.
    void passes(int n);

    std::unique_ptr<AppState> state;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<TextRenderer> text;
    std::vector<Polled> eventsWhileStarting;
};

// Answers the next save dialog that opens with `path` (Qt's own dialog, polled
// every 10 ms while the test runs Qt's loop), keeping what it offered.
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(const std::string& path);
    bool answered() const { return !timer.isActive(); }
    QString offeredName;  // the file name the dialog suggested
private:
    QTimer timer;
};

// Accepts an open file dialog with `path` chosen.
void answerFileDialog(QFileDialog& dialog, const std::string& path);

// Where a slider's handle is, in the slider's coordinates.
QRect handleRect(QSlider* slider);

// The sixteen shortcuts: key and number.
struct ShortcutKey {
    char key;
    std::int32_t number;
};
extern const ShortcutKey programShortcuts[16];

// The Qt key of a shortcut key ('A' .. 'Z', '0' .. '9').
Qt::Key qtKey(char key);

// A key as an X11 or Wayland desktop reports it: Qt's key, modifiers and text, and
// the native scan code (the XKB keycode), keysym and modifier mask.
struct NativeKey {
    Qt::Key key;
    const char* text;  // UTF-8
    quint32 scanCode;
    quint32 keysym;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    quint32 nativeModifiers = 0;
};
// Presses and releases `key` in `window`.
void typeNative(QWindow* window, const NativeKey& key);

}  // namespace vivarix::qttest
