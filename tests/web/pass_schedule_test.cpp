// The page's passes: one an animation frame, at most 61 a second at any refresh
// rate, later after a sleep; and the pass clock reading as on the desktop.
#include <gtest/gtest.h>

#include <deque>

#include "platform/web/pass_schedule.h"

namespace vivarix {
namespace {

double fakeNow = 0;
double fakeClock() { return fakeNow; }

struct Frames {
    std::size_t frames = 0;
    std::deque<double> passes;  // the start times of the passes that ran
};

// Animation frames at `hertz` for `seconds`, each pass taking `passMs`.
Frames runFrames(PassSchedule& schedule, double hertz, double seconds, double passMs = 2) {
    Frames run;
    for (double t = 0; t < seconds * 1000; t += 1000 / hertz, ++run.frames) {
        if (!schedule.due(t)) continue;
        schedule.begin(t);
        schedule.end(t + passMs);
        run.passes.push_back(t);
    }
    return run;
}

// The most passes that started within any one second.
std::size_t mostInASecond(const std::deque<double>& passes) {
    std::size_t most = 0;
    for (std::size_t first = 0, last = 0; last < passes.size(); ++last) {
        while (passes[last] - passes[first] >= 1000) ++first;
        most = std::max(most, last - first + 1);
    }
    return most;
}

// A 60 Hz display runs a pass in every frame; faster ones are capped at 61 a
// second, in whole frames.
TEST(PassSchedule, RunsAPassAFrameUpTo61ASecond) {
    for (const double hertz : {60.0, 75.0, 120.0, 144.0, 240.0}) {
        PassSchedule schedule(fakeClock);
        const Frames run = runFrames(schedule, hertz, 10);
        if (hertz == 60) {
            EXPECT_EQ(run.passes.size(), run.frames);
        }
        EXPECT_LE(mostInASecond(run.passes), 62u) << hertz << " Hz";
        // Whole frames only: at least every second frame of 120 Hz runs a pass.
        EXPECT_GE(run.passes.size(), 550u) << hertz << " Hz";
    }
}

TEST(PassSchedule, ASleepDelaysTheNextPassFromTheEndOfThisOne) {
    PassSchedule schedule(fakeClock);
    schedule.begin(0);
    schedule.sleep(256);
    schedule.sleep(4);  // the longest asked for in a pass counts
    schedule.end(3);
    EXPECT_FALSE(schedule.due(258));
    EXPECT_TRUE(schedule.due(259));
    schedule.begin(259);
    schedule.sleep(0);
    schedule.end(260);
    EXPECT_TRUE(schedule.due(259 + 1000.0 / 61));
}

TEST(PassSchedule, TheClockStandsAtThePreviousPassEndUntilThePresent) {
    PassSchedule schedule(fakeClock);
    fakeNow = 100.7;
    schedule.begin(100);
    EXPECT_EQ(schedule.now(), 100u);  // the first pass has no previous one
    schedule.presented();
    schedule.end(103.2);

    fakeNow = 117.5;
    schedule.begin(116.7);
    EXPECT_EQ(schedule.now(), 103u);  // the wait between the passes counts for this one
    schedule.presented();
    EXPECT_EQ(schedule.now(), 117u);
    fakeNow = 4294967296.0 + 5;  // the millisecond clock wraps as tickCount does
    EXPECT_EQ(schedule.now(), 5u);
}

}  // namespace
}  // namespace vivarix
