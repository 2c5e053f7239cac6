// The process's QApplication.  It sees every event Qt dispatches, counts how deeply
// dispatches nest, and tells its listeners when an outermost dispatch has ended: that
// is the moment at which one input event has done all it is going to do.
#pragma once

#include <QApplication>
#include <vector>

namespace vivarix {

class DispatchListener {
public:
    // Called after the outermost dispatch of `event` has returned.  `inputReceiver`
    // is the object a mouse or key event was sent to, if it still exists; nullptr
    // for every other kind of event.  Must not add or remove listeners.
    virtual void dispatched(QObject* inputReceiver, QEvent* event) = 0;

protected:
    ~DispatchListener() = default;
};

class Application final : public QApplication {
public:
    Application(int& argc, char** argv);

    // The running application; nullptr before startQtDesktop made it.
    static Application* running();

    bool notify(QObject* receiver, QEvent* event) override;

    // Whether an event dispatch is in progress (a signal raised now belongs to it).
    bool dispatching() const { return depth > 0; }

    void addListener(DispatchListener* listener);
    void removeListener(DispatchListener* listener);

private:
    int depth = 0;
    std::vector<DispatchListener*> listeners;
};

// Creates the application the first time, returns it on later calls.  Exits the
// process with status 1 and one line on stderr when no display can be opened.
Application& startApplication(int& argc, char** argv);

}  // namespace vivarix
