#include "platform/qt/application.h"

#include <QPointer>
#include <algorithm>

namespace vivarix {

namespace {

Application* runningApplication = nullptr;

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
