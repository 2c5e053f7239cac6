// The desktop program for a run under valgrind's memcheck (scripts/memcheck):
//     vivarix-memcheck-run [PASSES]
// The program's own start-up and main loop, as src/app/main.cpp runs them, with
// what a user would do first: creatures of both kinds placed by clicks on the
// plate, the right button held to feed, the statistics and the magnifier switched
// on.  After PASSES passes (default 300) it closes the window the way the close box
// does; the main loop then ends on that close request and the program ends as the
// real one does, so that what it leaves allocated can be judged.
//
// Input goes the route of real input (QTest, through the window system), so the
// events, the placement, the feeding, the creature step and the frame all run.
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_desktop_testing.h"

namespace vivarix {
// One state for the whole run, a global like the program's.
AppState appState;
}  // namespace vivarix

namespace {

using namespace vivarix;

// Runs `n` passes of the main loop; false when one of them ended the program.
bool passes(Desktop& desktop, int n) {
    for (int i = 0; i < n; ++i)
        if (!runPass(appState, desktop)) return false;
    return true;
}

// A left click on the plate; the passes take the motion, press and release.
bool click(Desktop& desktop, QPoint at) {
    QWidget* surface = surfaceWidget(desktop);
    QTest::mouseMove(surface, at);
    QTest::mouseClick(surface, Qt::LeftButton, {}, at);
    return passes(desktop, 4);
}

bool key(Desktop& desktop, Qt::Key k) {
    QTest::keyClick(windowWidget(desktop), k);
    return passes(desktop, 2);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vivarix;
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, appState.graphics);
    // Qt has taken its own arguments out of argv.
    const int runPasses = argc > 1 ? std::atoi(argv[1]) : 300;
    if (runPasses < 1) {
        std::fprintf(stderr, "usage: vivarix-memcheck-run [PASSES]\n");
        return 2;
    }
    std::unique_ptr<TextRenderer> text = createQtTextRenderer();
    if (!startUp(appState, *desktop, *text, 20261207)) return 1;

    QWidget* window = windowWidget(*desktop);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        std::fprintf(stderr, "vivarix-memcheck-run: the window did not become active\n");
        return 1;
    }
    bool running = true;
    // Ten blue creatures on a row, then ten red ones on another ("S" chooses red).
    for (int i = 0; i < 10 && running; ++i) running = click(*desktop, QPoint(130 + 20 * i, 180));
    running = running && key(*desktop, Qt::Key_S);
    for (int i = 0; i < 10 && running; ++i) running = click(*desktop, QPoint(130 + 20 * i, 280));
    running = running && key(*desktop, Qt::Key_G) && key(*desktop, Qt::Key_L);
    if (running) {
        const QPoint feedAt(230, 230);
        QTest::mouseMove(surfaceWidget(*desktop), feedAt);
        QTest::mousePress(surfaceWidget(*desktop), Qt::RightButton, {}, feedAt);
        running = passes(*desktop, runPasses);
    }
    if (!running) {
        std::fprintf(stderr, "vivarix-memcheck-run: the program ended before the close request\n");
        return 1;
    }
    std::printf("vivarix-memcheck-run: %d passes, %d blue and %d red creatures, then the close request\n", runPasses,
                appState.kindCount[0], appState.kindCount[1]);
    std::fflush(stdout);

    // The close box's request; the events still queued before it are handled first.
    window->close();
    mainLoop(appState, *desktop);
    // The end of src/app/main.cpp.
    appState.graphics.text = nullptr;
    return 0;
}
