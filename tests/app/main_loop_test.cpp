// The main loop's frame rate: every tenth pass, 10000 divided by the milliseconds the
// drawn passes since the last update took, measured on a clock the test sets.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

// Each reading moves the clock on by `step` ms: a pass that reads it at its start
// and at its end lasts `step`.
class SteppingClock final : public MillisecondClock {
public:
    std::uint32_t ms = 0;
    std::uint32_t step = 0;
    std::uint32_t now() override {
        const std::uint32_t read = ms;
        ms += step;
        return read;
    }
};

class FrameRate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(startUp(*state, desktop, text, 3));
        state->passClock = &clock;
        clock.ms = 0xFFFFFFFFu - 25;  // the clock wraps during the first ten passes
    }

    // Runs `n` passes of `ms` milliseconds each.
    void passes(int n, std::uint32_t ms) {
        clock.step = ms;
        for (int i = 0; i < n; ++i) ASSERT_TRUE(runPass(*state, desktop));
    }

    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    SteppingClock clock;
};

TEST_F(FrameRate, EveryTenthPassDividesTenThousandByTheSummedMilliseconds) {
    passes(9, 4);
    EXPECT_EQ(state->framesPerSecond, 0);
    passes(1, 4);
    EXPECT_EQ(state->framesPerSecond, 10000 / 40);
    passes(9, 7);
    EXPECT_EQ(state->framesPerSecond, 10000 / 40);
    passes(1, 7);
    EXPECT_EQ(state->framesPerSecond, 10000 / 70);  // the sum started again at 0
}

TEST_F(FrameRate, ASumOfZeroKeepsTheOldFigure) {
    passes(10, 5);
    ASSERT_EQ(state->framesPerSecond, 10000 / 50);
    passes(10, 0);
    EXPECT_EQ(state->framesPerSecond, 10000 / 50);
    passes(10, 8);
    EXPECT_EQ(state->framesPerSecond, 10000 / 80);
}

TEST_F(FrameRate, PausedPassesCountButAddNoTime) {
    passes(10, 4);
    ASSERT_EQ(state->framesPerSecond, 10000 / 40);
    // Passes 11 to 16 are paused and 17 to 20 drawn: pass 20 is the tenth.
    desktop.queue(event::shortcut, shortcut::pause);
    passes(6, 1000);
    ASSERT_EQ(state->paused, 1);
    desktop.queue(event::shortcut, shortcut::pause);
    passes(4, 5);
    EXPECT_EQ(state->framesPerSecond, 10000 / 20);
}

}  // namespace
}  // namespace vivarix
