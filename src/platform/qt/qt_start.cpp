// Starting Qt, and failing with one clear line when there is no display.
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/qt/application.h"

namespace vivarix {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

[[noreturn]] void failToStart(const std::string& reason) {
    const std::string line = "vivarix: " + reason + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

// What is missing when the platform plugin could not start, as the user would fix it.
std::string missingDisplay() {
    const std::string platform = environment("QT_QPA_PLATFORM");
    const std::string display = environment("DISPLAY");
    const std::string wayland = environment("WAYLAND_DISPLAY");
    if (!platform.empty())
        return "cannot start the display platform \"" + platform + "\" named by QT_QPA_PLATFORM" +
               (display.empty() ? std::string() : " (DISPLAY is \"" + display + "\")");
    if (!display.empty()) return "cannot open the X display \"" + display + "\" named by DISPLAY";
    if (!wayland.empty())
        return "cannot open the Wayland display \"" + wayland + "\" named by WAYLAND_DISPLAY (DISPLAY is unset)";
    return "no display: DISPLAY and WAYLAND_DISPLAY are unset";
}

// Qt reports a display it cannot open with a few warnings and then qFatal, which
// aborts.  While the application starts, messages are held back: a fatal one ends
// the process with the one line above; otherwise they are passed on once Qt runs.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

void holdStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) failToStart(missingDisplay());
    held.push_back(HeldMessage{type, context.category ? context.category : "default", text});
}

void passOnHeldMessages() {
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        if (previousHandler)
            previousHandler(message.type, context, message.text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(message.text));
    }
    held.clear();
}

bool platformChosenOnCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i] && (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0))
            return true;
    return false;
}

}  // namespace

Application& startApplication(int& argc, char** argv) {
    if (Application* running = Application::running()) return *running;
    if (environment("QT_QPA_PLATFORM").empty() && environment("DISPLAY").empty() &&
        environment("WAYLAND_DISPLAY").empty() && !platformChosenOnCommandLine(argc, argv))
        failToStart(missingDisplay());
    previousHandler = qInstallMessageHandler(holdStartupMessage);
    // Lives until the process ends: widgets and fonts may be used up to the very end.
    auto* application = new Application(argc, argv);
    // Ties the window to the installed desktop entry (its name and icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("vivarix"));
    passOnHeldMessages();
    return *application;
}

}  // namespace vivarix
