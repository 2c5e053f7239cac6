// A saved session opened in the running program, timed on a real display (Xvfb),
// beside vivarix-lab on the same file:
//     xvfb-run -s "-screen 0 1600x1000x24" build/vivarix-replay-run [TICKS]
// 1. makes a session of TICKS ticks (default 200,000) with the program's own
//    inputs: forty creatures, Auto raised, a while of right-button feeding;
// 2. three rounds of `vivarix-lab --replay` on it and of the window opening it and
//    going to its end (End), each timed, with the creatures hashes compared; how
//    soon the progress dialog shows, how often it repaints, the longest gap;
// 3. a Cancel clicked by xdotool (from the X server, as a user's click comes)
//    two seconds into a jump: how long until the jump stops;
// 4. passes a second playing the replay at x1, and live at x1 after taking over.
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/control_panel.h"
#include "app/go_to_tick.h"
#include "app/main_loop.h"
#include "app/open_session.h"
#include "app/population_watch.h"
#include "app/startup.h"
#include "app/user_input.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_desktop_testing.h"
#include "sim/creature_text.h"
#include "sim/tick.h"

namespace vivarix {
AppState appState;
}  // namespace vivarix

namespace {

using namespace vivarix;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time (user and system) in ms of this process or of its waited-for
// children: on a busy machine a steadier figure than the wall clock.
double cpuMs(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Watches the progress dialog's paints: when it first showed, how many, and the
// longest gap between two; and where its Cancel button is on the screen.
class ProgressWatch final : public QObject {
public:
    Clock::time_point started;
    double firstPaintMs = -1;
    double lastPaintMs = 0;
    double longestGapMs = 0;
    int paints = 0;
    std::atomic<int> cancelX{-1}, cancelY{-1};

    bool eventFilter(QObject* object, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(object);
        if (!dialog || event->type() != QEvent::Paint) return false;
        const double at = msSince(started);
        if (firstPaintMs < 0) {
            firstPaintMs = at;
            if (auto* cancel = dialog->findChild<QAbstractButton*>()) {
                const QPoint centre = cancel->mapToGlobal(cancel->rect().center());
                cancelX = centre.x();
                cancelY = centre.y();
            }
        } else {
            longestGapMs = std::max(longestGapMs, at - lastPaintMs);
        }
        lastPaintMs = at;
        ++paints;
        return false;
    }
    void reset() {
        started = Clock::now();
        firstPaintMs = -1;
        longestGapMs = 0;
        paints = 0;
    }
};

std::string labHash(const std::string& lab, const std::string& journal, std::uint64_t ticks, double& ms,
                    double& cpu) {
    const std::string command =
        lab + " --replay " + journal + " --every " + std::to_string(ticks) + " 2>/dev/null | tail -n 1";
    const double cpuBefore = cpuMs(RUSAGE_CHILDREN);
    const Clock::time_point start = Clock::now();
    FILE* out = popen(command.c_str(), "r");
    char line[256] = {};
    std::string last;
    while (out && std::fgets(line, sizeof line, out)) last = line;
    if (out) pclose(out);
    ms = msSince(start);
    cpu = cpuMs(RUSAGE_CHILDREN) - cpuBefore;
    const std::size_t comma = last.rfind(',');
    return comma == std::string::npos ? "?" : last.substr(comma + 1, 16);
}

double passesPerSecond(Desktop& desktop, double seconds) {
    const std::int32_t frames = appState.frameCounter;
    const Clock::time_point start = Clock::now();
    while (msSince(start) < seconds * 1000)
        if (!runPass(appState, desktop)) std::exit(1);
    return (appState.frameCounter - frames) / (msSince(start) / 1000);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, appState.graphics);
    const std::uint64_t ticks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;
    std::unique_ptr<TextRenderer> text = createQtTextRenderer();
    if (!startUp(appState, *desktop, *text, 20261209)) return 1;
    QWidget* window = windowWidget(*desktop);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) return 1;

    // 1. The session.
    const Clock::time_point making = Clock::now();
    for (int i = 0; i < 40; ++i)
        takeUserInput(appState, PlaceInput{110 + 6 * i, 150 + 160 * (i % 2), i % 2, 20, 20, 20});
    takeUserInput(appState, AutoInput{30});
    appState.mouseX = 240;
    appState.mouseY = 230;
    for (std::uint64_t t = 0; t < ticks; ++t) {
        appState.feedingActive = t >= 5000 && t < 5400 ? 1 : 0;
        runWatchedTick(appState);
        settleWithoutFrame(appState);
    }
    const std::string journal = (std::filesystem::temp_directory_path() / "vivarix-replay-run.vxs").string();
    if (!saveJournal(appState, appState.session, journal)) return 1;
    std::printf("session of %llu ticks made in %.1f s: %zu creatures at its end, %zu bytes of journal\n",
                static_cast<unsigned long long>(ticks), msSince(making) / 1000, appState.creatureList.size(),
                appState.session.journal.text.size());

    // 2. Side by side.
    ProgressWatch watch;
    qApp->installEventFilter(&watch);
    std::vector<double> labMs, windowMs, labCpu, windowCpu;
    for (int round = 1; round <= 3; ++round) {
        double ms = 0, cpu = 0;
        const std::string lab = labHash(VIVARIX_LAB_PROGRAM, journal, ticks, ms, cpu);
        labMs.push_back(ms);
        labCpu.push_back(cpu);
        const double cpuBefore = cpuMs(RUSAGE_SELF);
        watch.reset();
        if (!openSession(appState, journal)) return 1;
        goToTick(appState, *desktop, ticks);
        windowMs.push_back(msSince(watch.started));
        windowCpu.push_back(cpuMs(RUSAGE_SELF) - cpuBefore);
        const std::string mine = creaturesHash(appState.creatureList);
        std::printf("round %d: vivarix-lab --replay %.0f ms (%.0f ms processor), open and End in the window %.0f ms "
                    "(%.0f ms processor): %.2fx (%.2fx); hashes %s %s %s; progress shown at %.0f ms, %d paints "
                    "(%.1f a second), longest gap %.0f ms\n",
                    round, ms, cpu, windowMs.back(), windowCpu.back(), windowMs.back() / ms, windowCpu.back() / cpu,
                    lab.c_str(), mine == lab ? "==" : "!=",
                    mine.c_str(), watch.firstPaintMs, watch.paints,
                    watch.paints / ((watch.lastPaintMs - watch.firstPaintMs) / 1000), watch.longestGapMs);
        for (int i = 0; i < 3; ++i) runPass(appState, *desktop);
    }
    std::printf("median: lab %.0f ms, window %.0f ms: %.2fx; processor time %.0f ms and %.0f ms: %.2fx\n",
                median(labMs), median(windowMs), median(windowMs) / median(labMs), median(labCpu), median(windowCpu),
                median(windowCpu) / median(labCpu));

    // 3. Cancel, clicked through the X server two seconds into a jump from 0.
    goToTick(appState, *desktop, 0);
    watch.reset();
    std::atomic<double> clickedMs{-1};
    std::atomic<bool> jumping{true};
    std::thread clicker([&] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        if (watch.cancelX < 0 || !jumping) return;  // no dialog to click
        const std::string command = "xdotool mousemove --sync " + std::to_string(watch.cancelX) + " " +
                                    std::to_string(watch.cancelY) + " click 1";
        clickedMs = msSince(watch.started);
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "vivarix-replay-run: xdotool failed\n");
    });
    goToTick(appState, *desktop, ticks);
    jumping = false;
    const double stoppedMs = msSince(watch.started);
    clicker.join();
    std::printf("cancel: xdotool started at %.0f ms, the jump stopped at %.0f ms (%.0f ms later, xdotool's own "
                "start included) at tick %llu of %llu\n",
                clickedMs.load(), stoppedMs, stoppedMs - clickedMs.load(),
                static_cast<unsigned long long>(appState.session.ticks), static_cast<unsigned long long>(ticks));

    // 4. Playing at x1, then live at x1.
    goToTick(appState, *desktop, 0);
    appState.paused = 0;
    runPass(appState, *desktop);
    const double replayRate = passesPerSecond(*desktop, 10);
    const bool stillReplaying = replaying(appState);
    appState.feedingActive = 0;
    endReplay(appState);
    const double liveRate = passesPerSecond(*desktop, 10);
    std::printf("x1: %.1f passes a second replaying (%s), %.1f live after taking over\n", replayRate,
                stillReplaying ? "still replaying" : "the replay ended early", liveRate);
    std::filesystem::remove(journal);
    appState.graphics.text = nullptr;
    return 0;
}
