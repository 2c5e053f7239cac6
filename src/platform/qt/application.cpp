#include "platform/qt/application.h"

#include <QKeyEvent>
#include <QPointer>
#include <algorithm>

namespace vivarix {

namespace {

Application* runningApplication = nullptr;

// The program's shortcuts are plain keys of the letter and main digit rows.  Qt's
// shortcut map also tries a keypad key without its keypad modifier (so keypad 5
// would match the shortcut "5"); accepting the shortcut-override event claims the
// key for the focused widget, so no shortcut is tried for it and it is delivered as
// an ordinary key press.  (Keys with Ctrl, Alt or Shift never match a plain-key
// shortcut, and claiming them would break the mnemonics of message boxes.)
bool claimFromShortcuts(const QKeyEvent& key) { return (key.modifiers() & Qt::KeypadModifier) != 0; }

bool isInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    runningApplication = this;
    // The program decides when it ends; closing its last window (a message box at
    // start-up) must not stop anything.
    setQuitOnLastWindowClosed(false);
}

Application* Application::running() { return runningApplication; }

bool Application::notify(QObject* receiver, QEvent* event) {
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    };
    // Widgets may delete themselves while handling an input event (a closing box).
    const bool outermostInput = depth == 0 && isInputEvent(event->type());
    QPointer<QObject> inputReceiver;
    if (outermostInput) inputReceiver = receiver;
    bool result = false;
    {
        Depth nested(depth);
        result = QApplication::notify(receiver, event);
        if (event->type() == QEvent::ShortcutOverride && claimFromShortcuts(*static_cast<QKeyEvent*>(event)))
            event->accept();
    }
    if (depth == 0)
        for (DispatchListener* listener : listeners) listener->dispatched(inputReceiver.data(), event);
    return result;
}

void Application::addListener(DispatchListener* listener) { listeners.push_back(listener); }

void Application::removeListener(DispatchListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

}  // namespace vivarix
