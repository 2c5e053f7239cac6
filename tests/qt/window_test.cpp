// The window, message boxes, and starting without a display.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/control_panel.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop_testing.h"
#include "qt_test_support.h"

namespace vivarix::qttest {
namespace {

using Events = std::vector<Polled>;

class Window : public ProgramWindow {};

TEST_F(Window, FixedClientAreaTitleAndBoxes) {
    QWidget* main = window();
    EXPECT_EQ(main->size(), QSize(715, 460));
    EXPECT_EQ(main->minimumSize(), QSize(715, 460));
    EXPECT_EQ(main->maximumSize(), QSize(715, 460));
    EXPECT_EQ(main->windowTitle().toStdString(), programTitle);
    const Qt::WindowFlags flags = main->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    // Keys go to the window itself until the user gives a control the focus.
    EXPECT_EQ(QApplication::focusWidget(), main);

    desktop->setWindowTitle(0, "changed");
    EXPECT_EQ(main->windowTitle(), QString("changed"));
    desktop->setWindowTitle(1, "no such window");
    EXPECT_EQ(main->windowTitle(), QString("changed"));

    EXPECT_EQ(surface()->geometry(), QRect(0, 0, 460, 460));
    EXPECT_EQ(surface()->parentWidget(), main);
    EXPECT_TRUE(desktop->renderSurfaceAvailable());
}

TEST(BareDesktop, OnlyOneWindowAndNothingWithoutIt) {
    const Graphics none;
    const auto desktop = newDesktop(none);
    EXPECT_FALSE(desktop->beginControls(0));
    EXPECT_FALSE(desktop->openRenderSurface(0, 0, 0, 460, 460));
    EXPECT_EQ(desktop->cursorPosition(0).clientWidth, 0);
    ASSERT_TRUE(desktop->openWindow(0, 30, 40, 715, 460, "one"));
    EXPECT_EQ(windowWidget(*desktop)->frameGeometry().topLeft(), QPoint(30, 40));
    EXPECT_FALSE(desktop->openWindow(1, 0, 0, 100, 100, "two"));
    EXPECT_FALSE(desktop->beginControls(1));
    EXPECT_TRUE(desktop->beginControls(0));
    desktop->endControls();
    // Controls outside beginControls .. endControls are not made.
    desktop->createButton(5, 0, 0, 10, 10, "late");
    EXPECT_EQ(controlWidget(*desktop, 5), nullptr);
}

// Closes the modal box from a timer; on the way tries to queue events in the main window.
struct BoxCloser {
    QWidget* mainWindow = nullptr;
    QWidget* surface = nullptr;
    QString title, text;
    int buttons = 0;
    bool found = false;

    void arm() {
        QTimer::singleShot(50, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            found = true;
            title = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            QTest::keyClick(mainWindow->windowHandle(), Qt::Key_C);  // a shortcut key
            typeNative(mainWindow->windowHandle(), {Qt::Key_Ampersand, "&", 10, 0x26});  // 1 on AZERTY
            QTest::keyClick(box->windowHandle(), Qt::Key_C);
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(10, 10));
            mainWindow->close();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        // Should the box not be found at first, it must not block the tests for ever.
        QTimer::singleShot(5000, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
        });
    }
};

TEST_F(Window, MessageBoxBlocksUntilClosedAndQueuesNothing) {
    BoxCloser closer;
    closer.mainWindow = window();
    closer.surface = surface();
    closer.arm();
    const auto start = std::chrono::steady_clock::now();
    desktop->messageBox("Fehler!", "Kein Speicherplatz zum Reservieren des neuen Elements");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
    ASSERT_TRUE(closer.found);
    EXPECT_EQ(closer.title, QString("Fehler!"));
    EXPECT_EQ(closer.text, QString("Kein Speicherplatz zum Reservieren des neuen Elements"));
    EXPECT_EQ(closer.buttons, 1);
    EXPECT_EQ(pollAll(*desktop), Events{});

    // Afterwards the window works as before.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    QTest::keyClick(window()->windowHandle(), Qt::Key_C);
    EXPECT_EQ(pollAll(*desktop), (Events{shortcut(shortcut::kind0), plain(event::keyUp)}));
}

TEST(BareDesktop, MessageBoxBeforeAnyWindow) {
    const Graphics none;
    const auto desktop = newDesktop(none);
    BoxCloser closer;
    QWidget stand;  // receives the attempts to queue events; it is no window of the desktop
    stand.resize(20, 20);
    closer.mainWindow = &stand;
    closer.surface = &stand;
    stand.show();
    closer.arm();
    desktop->messageBox("Error", "Can't open DirectX 7 or higher!");
    EXPECT_TRUE(closer.found);
    EXPECT_EQ(closer.text, QString("Can't open DirectX 7 or higher!"));
    EXPECT_EQ(desktop->pollEvent(), event::none);
}

// Runs the start-up check program with exactly `environment` and returns its status
// and what it wrote.
struct ChildRun {
    int status = -1;
    std::string out, err;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ChildRun runStartCheck(std::vector<std::string> environment) {
    char dirTemplate[] = "/tmp/vivarix-qt-start-XXXXXX";
    const char* dir = mkdtemp(dirTemplate);
    EXPECT_NE(dir, nullptr);
    if (!dir) return {};
    const std::string outPath = std::string(dir) + "/out", errPath = std::string(dir) + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    // Keep what a sanitizer build needs; nothing that names a display.
    for (const char* keep : {"PATH", "HOME", "LSAN_OPTIONS", "ASAN_OPTIONS", "UBSAN_OPTIONS", "XDG_RUNTIME_DIR"})
        if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = VIVARIX_QT_START_CHECK;
    char* argv[] = {program.data(), nullptr};

    ChildRun run;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0);
    if (spawned == 0) waitpid(pid, &run.status, 0);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    rmdir(dir);
    return run;
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

// An X display number that no local server uses (-1 when 99 .. 198 are all taken).
int unusedDisplay() {
    for (int n = 99; n < 199; ++n) {
        struct stat info;
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n), lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (stat(socket.c_str(), &info) != 0 && stat(lock.c_str(), &info) != 0) return n;
    }
    return -1;
}

TEST(StartWithoutDisplay, UnopenableDisplayEndsWithOneLineAndStatusOne) {
    const int display = unusedDisplay();
    ASSERT_NE(display, -1);
    const std::string name = ":" + std::to_string(display);
    const ChildRun run = runStartCheck({"DISPLAY=" + name});
    ASSERT_TRUE(WIFEXITED(run.status)) << "killed by a signal: " << run.err;
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("DISPLAY"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(StartWithoutDisplay, NoDisplayNamedEndsWithOneLineAndStatusOne) {
    const ChildRun run = runStartCheck({});
    ASSERT_TRUE(WIFEXITED(run.status)) << "killed by a signal: " << run.err;
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("DISPLAY and WAYLAND_DISPLAY are unset"), std::string::npos) << run.err;
}

TEST(StartWithoutDisplay, UnknownPlatformEndsWithOneLineAndStatusOne) {
    const ChildRun run = runStartCheck({"QT_QPA_PLATFORM=nosuchplatform"});
    ASSERT_TRUE(WIFEXITED(run.status)) << "killed by a signal: " << run.err;
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("QT_QPA_PLATFORM"), std::string::npos) << run.err;
}

TEST(StartWithoutDisplay, OffscreenPlatformStarts) {
    const ChildRun run = runStartCheck({"QT_QPA_PLATFORM=offscreen"});
    ASSERT_TRUE(WIFEXITED(run.status)) << run.err;
    EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.err;
    EXPECT_EQ(run.out, "started\n");
}

}  // namespace
}  // namespace vivarix::qttest
