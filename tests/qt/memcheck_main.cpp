// The desktop program for a run under valgrind's memcheck (scripts/memcheck):
//     vivarix-memcheck-run [TICKS]
// The program's own start-up and main loop, as src/app/main.cpp runs them, its
// journal recorded, with the session of a user watching evolution that the
// sanitizer soak plays too (tests/support/watch_session.h), its last plate TICKS
// ticks long (default 3,000).  Then the journal is replayed by vivarix-lab's
// replay, the window is closed the way the close box does, the main loop ends on
// that close request and the program ends as the real one does, so that what it
// leaves allocated can be judged.
//
// Input goes the route of real input (QTest, through the window system), so the
// events, the placements, the feeding, the creature step and the frames all run.
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "app/app_state.h"
#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_desktop_testing.h"
#include "support/watch_session.h"

namespace vivarix {
// One state for the whole run, a global like the program's.
AppState appState;
}  // namespace vivarix

namespace {

using namespace vivarix;

// The user at the keyboard and the mouse of the Qt desktop.
class QtUser final : public test::User {
public:
    explicit QtUser(Desktop& desktop) : desktop(desktop) {}

    bool click(std::int32_t x, std::int32_t y) override { return mouse(Qt::LeftButton, x, y); }
    bool middleClick(std::int32_t x, std::int32_t y) override { return mouse(Qt::MiddleButton, x, y); }
    bool rightButton(std::int32_t x, std::int32_t y, bool down) override {
        const QPoint at(x, y);
        QTest::mouseMove(surfaceWidget(desktop), at);
        if (down)
            QTest::mousePress(surfaceWidget(desktop), Qt::RightButton, {}, at);
        else
            QTest::mouseRelease(surfaceWidget(desktop), Qt::RightButton, {}, at);
        return passes(2);
    }
    bool key(std::int32_t shortcut) override {
        static const std::map<std::int32_t, Qt::Key> keys = {
            {shortcut::kind0, Qt::Key_C}, {shortcut::kind1, Qt::Key_S},      {shortcut::stats, Qt::Key_G},
            {shortcut::pause, Qt::Key_P}, {shortcut::population, Qt::Key_H}, {shortcut::speed, Qt::Key_F},
            {shortcut::step, Qt::Key_N},  {shortcut::magnifier, Qt::Key_L}};
        QTest::keyClick(windowWidget(desktop), keys.at(shortcut));
        return passes(2);
    }
    bool button(std::int32_t control) override {
        QTest::mouseClick(shown(control), Qt::LeftButton);
        return passes(3);
    }
    // The knob put one step above the position and moved down by the arrow key:
    // a move the user ends, as the trackbar reports it.
    bool trackbar(std::int32_t control, std::int32_t position) override {
        auto* slider = static_cast<QSlider*>(shown(control));
        slider->setValue(position + 1);
        QTest::keyClick(slider, Qt::Key_Left);
        return passes(2);
    }
    bool passes(std::int64_t count) override {
        for (std::int64_t i = 0; i < count; ++i)
            if (!runPass(appState, desktop)) return false;
        return true;
    }

private:
    // The control's widget, its tab of the panel brought to the front as the user
    // would.
    QWidget* shown(std::int32_t control) {
        QWidget* widget = controlWidget(desktop, control);
        for (QWidget* p = widget->parentWidget(); p; p = p->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
                for (int i = 0; i < tabs->count(); ++i)
                    if (tabs->widget(i)->isAncestorOf(widget)) tabs->setCurrentIndex(i);
                break;
            }
        return widget;
    }
    bool mouse(Qt::MouseButton button, std::int32_t x, std::int32_t y) {
        const QPoint at(x, y);
        QTest::mouseMove(surfaceWidget(desktop), at);
        QTest::mouseClick(surfaceWidget(desktop), button, {}, at);
        return passes(4);
    }
    Desktop& desktop;
};

}  // namespace

int main(int argc, char** argv) {
    using namespace vivarix;
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, appState.graphics);
    // Qt has taken its own arguments out of argv.
    const long long ticks = argc > 1 ? std::atoll(argv[1]) : 3000;
    if (ticks < 1) {
        std::fprintf(stderr, "usage: vivarix-memcheck-run [TICKS]\n");
        return 2;
    }
    std::unique_ptr<TextRenderer> text = createQtTextRenderer();
    if (!startUp(appState, *desktop, *text, 20261207)) return 1;
    presentWithoutWaiting(*desktop);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vivarix-memcheck-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    if (!startRecording(appState.session, (dir / "recorded.vxs").string())) return 1;

    QWidget* window = windowWidget(*desktop);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        std::fprintf(stderr, "vivarix-memcheck-run: the window did not become active\n");
        return 1;
    }
    QtUser user(*desktop);
    test::WatchPlan plan;
    plan.passesPerSpeed = 10;
    plan.followedDeaths = 1;
    plan.lastPlateTicks = static_cast<std::uint64_t>(ticks);
    std::string problems = test::watchSession(user, appState, plan);
    if (problems.empty())
        problems = test::replayProblems(appState, dir / "saved.vxs", appState.session.ticks / journalCheckpointTicks);
    std::filesystem::remove_all(dir);
    if (!problems.empty()) {
        std::fprintf(stderr, "vivarix-memcheck-run: %s\n", problems.c_str());
        return 1;
    }
    std::printf("vivarix-memcheck-run: %llu ticks, %d blue and %d red creatures, the journal replayed, then the "
                "close request\n",
                static_cast<unsigned long long>(appState.session.ticks), appState.kindCount[0],
                appState.kindCount[1]);
    std::fflush(stdout);

    // The close box's request; the events still queued before it are handled first.
    window->close();
    mainLoop(appState, *desktop);
    // The end of src/app/main.cpp.
    appState.graphics.text = nullptr;
    return 0;
}
