// The desktop program as a user watches evolution, timed on a real display (Xvfb):
//     xvfb-run -s "-screen 0 1600x1000x24" build/vivarix-watch-run [TICKS]
// The program's own start-up and passes.  Twenty creatures are placed by clicks
// (ten of each kind), the plate grows for a minute at the first speed, then:
//   1. passes a second over ten seconds at the first speed with the population
//      window open;
//   2. F up to "max": ticks a second in its first seconds, then with the window
//      closed and open by turns of a second, and the longest pass (an input waits
//      at most one pass before the pass that handles it reads it);
//   3. on at "max" with the window open until the plate has run TICKS ticks
//      (default 1,000,000): resident memory after 10,000 ticks and at the end.
// Input takes the route of real input (QTest through the window system).
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

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
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Resident memory in kB (VmRSS of /proc/self/status).
long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

struct Run {
    Desktop& desktop;
    double longestPassMs = 0;
    long rssAt10k = -1;

    void pass() {
        const Clock::time_point start = Clock::now();
        if (!runPass(appState, desktop)) {
            std::fprintf(stderr, "vivarix-watch-run: the program ended\n");
            std::exit(1);
        }
        longestPassMs = std::max(longestPassMs, secondsSince(start) * 1000);
        if (rssAt10k < 0 && appState.watch.plateTicks >= 10000) rssAt10k = residentKb();
    }
    void passesFor(double seconds) {
        const Clock::time_point start = Clock::now();
        while (secondsSince(start) < seconds) pass();
    }
    void type(Qt::Key key) {
        QTest::keyClick(windowWidget(desktop)->windowHandle(), key);
        for (int i = 0; i < 3; ++i) pass();
    }
    void leftClick(QPoint at) {
        QWidget* surface = surfaceWidget(desktop);
        // On a real display the program reads the window system's pointer.
        QCursor::setPos(surface->mapToGlobal(at));
        QTest::mouseMove(surface, at);
        QTest::mouseClick(surface, Qt::LeftButton, {}, at);
        for (int i = 0; i < 4; ++i) pass();
    }
    // Ticks and passes a second over `seconds`.
    std::pair<double, double> rates(double seconds) {
        const std::uint64_t ticks = appState.session.ticks;
        const std::int32_t frames = appState.frameCounter;
        const Clock::time_point start = Clock::now();
        passesFor(seconds);
        const double took = secondsSince(start);
        return {static_cast<double>(appState.session.ticks - ticks) / took, (appState.frameCounter - frames) / took};
    }
    std::size_t population() const { return appState.creatureList.size(); }
};

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, appState.graphics);
    const std::uint64_t totalTicks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    std::unique_ptr<TextRenderer> text = createQtTextRenderer();
    if (!startUp(appState, *desktop, *text, 20261208)) return 1;
    QWidget* window = windowWidget(*desktop);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) return 1;

    Run run{*desktop};
    for (int i = 0; i < 10; ++i) run.leftClick(QPoint(110 + 25 * i, 150 + (i % 2) * 10));
    run.type(Qt::Key_S);
    for (int i = 0; i < 10; ++i) run.leftClick(QPoint(110 + 25 * i, 310 + (i % 2) * 10));
    run.passesFor(60);
    std::printf("after a minute at x1: %llu ticks, %zu creatures (%d blue, %d red)\n",
                static_cast<unsigned long long>(appState.session.ticks), run.population(), appState.kindCount[0],
                appState.kindCount[1]);

    run.type(Qt::Key_H);
    const auto [x1Ticks, x1Frames] = run.rates(10);
    std::printf("x1, population window open: %.1f passes a second (%.1f ticks a second), %zu creatures\n", x1Frames,
                x1Ticks, run.population());

    run.type(Qt::Key_H);  // closed again
    for (int i = 0; i < 4; ++i) run.type(Qt::Key_F);
    std::printf("title: %s\n", window->windowTitle().toUtf8().constData());
    for (int second = 0; second < 3; ++second) {
        const std::size_t before = run.population();
        const auto [ticks, frames] = run.rates(1);
        std::printf("max, second %d: %.0f ticks a second, %.1f passes a second, %zu -> %zu creatures\n", second + 1,
                    ticks, frames, before, run.population());
    }
    // The population swings at this speed: turns of one second, the window closed
    // and open by turns, averaged.
    run.longestPassMs = 0;
    double closed = 0, open = 0;
    std::size_t fewest = SIZE_MAX, most = 0;
    constexpr int turns = 30;
    for (int turn = 0; turn < turns; ++turn) {
        run.type(Qt::Key_H);  // opens, then closes, ...
        const bool isOpen = desktop->populationWindowOpen();
        (isOpen ? open : closed) += run.rates(1).first / (turns / 2);
        fewest = std::min(fewest, run.population());
        most = std::max(most, run.population());
    }
    std::printf("max over %d s, %zu to %zu creatures: %.0f ticks a second with the window closed, %.0f open "
                "(%.1f%% fewer); longest pass %.1f ms\n",
                turns, fewest, most, closed, open, 100 * (closed - open) / closed, run.longestPassMs);
    if (!desktop->populationWindowOpen()) run.type(Qt::Key_H);

    const Clock::time_point start = Clock::now();
    const std::uint64_t startTicks = appState.watch.plateTicks;
    while (appState.watch.plateTicks < totalTicks) run.pass();
    std::printf("%llu ticks at max in %.0f s; resident memory %ld kB after 10,000 ticks, %ld kB after %llu "
                "(%+ld kB); %zu creatures\n",
                static_cast<unsigned long long>(appState.watch.plateTicks - startTicks), secondsSince(start),
                run.rssAt10k, residentKb(), static_cast<unsigned long long>(appState.watch.plateTicks),
                residentKb() - run.rssAt10k, run.population());
    appState.graphics.text = nullptr;
    return 0;
}
