// Watching evolution: fast-forward, the single step while paused, the population
// history behind the population window, and following a creature, all through the
// program's own passes on a desktop without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/speed.h"
#include "app/startup.h"
#include "render/magnifier.h"
#include "session/control_table.h"
#include "sim/creature_text.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

// Each reading moves the clock on by 10 ms.
class TenMsClock final : public MillisecondClock {
public:
    std::uint32_t ms = 0;
    std::uint32_t now() override { return ms += 10; }
};

class Program {
public:
    explicit Program(std::uint64_t seed = 5) {
        EXPECT_TRUE(startUp(*state, desktop, text, seed));
        state->passClock = &clock;
        // Creatures of both kinds in a row across the plate's middle.
        for (std::int32_t i = 0; i < 12; ++i) {
            if (i == 6) press(shortcut::kind1);
            desktop.movePointer(140 + 16 * i, 200 + 10 * (i % 3));
            pass(event::leftDown);
        }
    }

    // One pass that handles `code` (with its number), or none.
    void pass(std::int32_t code = event::none, std::int32_t number = -1) {
        if (code != event::none) desktop.queue(code, number);
        ASSERT_TRUE(runPass(*state, desktop));
    }
    void press(std::int32_t shortcut) { pass(event::shortcut, shortcut); }
    // Plain passes until the session has run `ticks` ticks.
    void runUntil(std::uint64_t ticks) {
        while (state->session.ticks < ticks) pass();
        ASSERT_EQ(state->session.ticks, ticks);
    }

    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    TenMsClock clock;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
};

TEST(FastForward, FSpeedsUpInFiveStepsTitledAndPauseWins) {
    Program p;
    const struct {
        const char* title;
        std::int32_t ticks;  // per pass; 0: at least one
    } speeds[] = {{"  >> x4", 4}, {"  >> x16", 16}, {"  >> x64", 64}, {"  >> max", 0}, {"", 1}};
    for (const auto& s : speeds) {
        p.press(shortcut::speed);  // the pass that takes F runs at the new speed
        const std::uint64_t before = p.state->session.ticks;
        p.pass();
        const std::uint64_t ran = p.state->session.ticks - before;
        EXPECT_EQ(p.desktop.title, std::string(programTitle) + s.title);
        if (s.ticks == 0)
            EXPECT_GE(ran, 1u) << s.title;
        else
            EXPECT_EQ(ran, static_cast<std::uint64_t>(s.ticks)) << s.title;
    }
    p.press(shortcut::speed);
    p.press(shortcut::pause);
    EXPECT_EQ(p.desktop.title, std::string(programTitle) + "  *** PAUSE ***");
    // Every pass is still a frame: one present each.
    const std::int64_t presents = p.desktop.presents;
    p.pass();
    EXPECT_EQ(p.desktop.presents, presents + 1);
}

TEST(FastForward, StepsOnlyWhilePausedAndEveryWayMatchesPlainPasses) {
    Program fast;
    fast.press(shortcut::speed);
    fast.press(shortcut::speed);  // x16
    for (int i = 0; i < 20; ++i) fast.pass();
    const std::uint64_t running = fast.state->session.ticks;
    fast.press(shortcut::step);  // not paused: a pass like the others
    EXPECT_EQ(fast.state->session.ticks, running + 16);
    fast.press(shortcut::pause);
    const std::uint64_t paused = fast.state->session.ticks;
    fast.pass();
    EXPECT_EQ(fast.state->session.ticks, paused);
    for (int i = 0; i < 3; ++i) {
        fast.press(shortcut::step);
        EXPECT_EQ(fast.state->session.ticks, paused + 1 + i);
        EXPECT_EQ(fast.desktop.title, std::string(programTitle) + "  *** PAUSE ***");
    }
    fast.press(shortcut::pause);
    fast.press(shortcut::speed);
    fast.press(shortcut::speed);  // max
    for (int i = 0; i < 5; ++i) fast.pass();

    Program plain;
    plain.runUntil(fast.state->session.ticks);
    ASSERT_GT(plain.state->creatureList.size(), 12u);
    EXPECT_EQ(creaturesHash(fast.state->creatureList), creaturesHash(plain.state->creatureList));
    EXPECT_EQ(fast.state->kindCount, plain.state->kindCount);
    // Every repaint the fast passes queued was painted by their frames.
    EXPECT_TRUE(fast.state->nutriumList.empty());
}

TEST(PopulationWindow, HChartsThePlateAtMostTwiceASecondZoomedAndANewPlateStartsAgain) {
    Program p;
    p.press(shortcut::population);
    ASSERT_TRUE(p.desktop.populationOpen);
    EXPECT_EQ(p.desktop.charts, 1);  // at once
    // A pass reads the clock three times with the window open: 100 passes are 3 s.
    for (int i = 0; i < 100; ++i) p.pass();
    EXPECT_GE(p.desktop.charts, 5);
    EXPECT_LE(p.desktop.charts, 7);
    const PopulationChart& chart = p.desktop.chart;
    EXPECT_EQ(chart.title, "Vivarix population: tick " + std::to_string(chart.creatures[0].back().tick));
    EXPECT_GE(chart.creatures[0].back().tick + 500 / 30, p.state->watch.plateTicks);
    EXPECT_LE(chart.creatures[0].size(), 300u);  // a point per two of the 600 pixel columns
    EXPECT_EQ(chart.creatures[0].back().max, p.state->kindCount[0]);
    EXPECT_GT(chart.nutrient.back().min, 0);
    // A zoom charts its ticks at a point a tick, and one beyond each end.
    p.desktop.zoom = ChartZoom{p.state->watch.plate, 10, 20};
    for (int i = 0; i < 20; ++i) p.pass();
    ASSERT_EQ(chart.creatures[0].size(), 13u);
    EXPECT_EQ(chart.creatures[0][1].tick, 10u);

    // A new plate's story is charted whole: the zoom was made on the last plate.
    p.pass(event::control, control::newPlateButton);
    EXPECT_EQ(p.state->watch.plateTicks, 1u);
    for (int i = 0; i < 30; ++i) p.pass();
    EXPECT_EQ(p.desktop.chart.creatures[1].front().tick, 1u);
    EXPECT_EQ(p.desktop.chart.creatures[1].back().max, 0);
    p.press(shortcut::population);
    EXPECT_FALSE(p.desktop.populationOpen);
    const std::int64_t charts = p.desktop.charts;
    for (int i = 0; i < 60; ++i) p.pass();
    EXPECT_EQ(p.desktop.charts, charts);
    // The button does what H does.
    p.pass(event::control, populationButton);
    EXPECT_TRUE(p.desktop.populationOpen);
}

TEST(FollowCreature, TheInspectorKeepsTheFollowedCreatureUntilItDies) {
    Program p;
    for (int i = 0; i < 3; ++i) p.pass();
    const Creature* third = CreatureList::after(CreatureList::after(p.state->creatureList.front()));
    p.desktop.movePointer(third->x + 1, third->y);
    p.pass(event::middleDown);
    ASSERT_EQ(p.state->followed, third);
    EXPECT_EQ(p.state->magnifierOn, 1);  // switched on to show it
    for (int i = 0; i < 5; ++i) {
        p.pass();
        EXPECT_EQ(p.state->selectedCreature, third);
        EXPECT_EQ(std::abs(p.state->magnifierX - third->x) + std::abs(p.state->magnifierY - third->y), 0);
    }
    Creature& followed = *p.state->followed;
    followed.age = followed.maxAge;  // dies of age in the next tick
    p.pass();
    EXPECT_EQ(p.state->followed, nullptr);
    EXPECT_EQ(p.state->selectedCreature, p.state->creatureList.front());

    // A middle click on an empty cell ends following; in the control column it
    // changes nothing.
    const Creature* first = p.state->creatureList.front();
    p.desktop.movePointer(first->x, first->y);
    p.pass(event::middleDown);
    ASSERT_EQ(p.state->followed, first);
    p.desktop.movePointer(600, 100);
    p.pass(event::middleDown);
    EXPECT_EQ(p.state->followed, first);
    p.desktop.movePointer(60, 400);
    p.pass(event::middleDown);
    EXPECT_EQ(p.state->followed, nullptr);
}

// Paused, a middle click shows the ring and the magnifier's frame in the very next
// present, without a tick: the simulation stays exactly where it was.
TEST(FollowCreature, APausedMiddleClickShowsTheChoiceAtOnce) {
    Program p;
    for (int i = 0; i < 3; ++i) p.pass();
    p.press(shortcut::pause);
    const Image& frame = p.state->graphics.backBuffer;
    auto pixel = [&](std::int32_t x, std::int32_t y) { return frame.pixels[static_cast<std::size_t>(y * frame.width + x)]; };
    const auto green = static_cast<std::uint32_t>(magnifierGreen);
    ASSERT_EQ(std::count(frame.pixels.begin(), frame.pixels.end(), green), 0);  // the magnifier is off
    const std::uint64_t ticks = p.state->session.ticks;
    const std::string hash = creaturesHash(p.state->creatureList);

    const Creature* last = p.state->creatureList.back();
    p.desktop.movePointer(last->x, last->y);
    p.pass(event::middleDown);
    ASSERT_EQ(p.state->followed, last);
    int ring = 0;  // green around it, whatever its size
    for (std::int32_t y = last->y - 8; y <= last->y + 8; ++y)
        for (std::int32_t x = last->x - 8; x <= last->x + 8; ++x) ring += pixel(x, y) == green;
    EXPECT_GT(ring, 0);
    EXPECT_EQ(pixel(p.state->magnifierX - 24, p.state->magnifierY), green);  // the frame, centred on it
    EXPECT_EQ(std::abs(p.state->magnifierX - last->x) + std::abs(p.state->magnifierY - last->y), 0);
    EXPECT_EQ(p.state->session.ticks, ticks);
    EXPECT_EQ(creaturesHash(p.state->creatureList), hash);
}

}  // namespace
}  // namespace vivarix
