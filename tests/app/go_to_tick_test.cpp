// Going to a tick of a replay reports its progress on the pass clock and stops
// where a Cancel finds it.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/go_to_tick.h"
#include "app/open_session.h"
#include "app/population_watch.h"
#include "app/startup.h"
#include "app/user_input.h"
#include "support/program_run.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

// Every reading is one millisecond later than the one before.
struct OneMsAReading final : MillisecondClock {
    std::uint32_t ms = 0;
    std::uint32_t now() override { return ms++; }
};

using GoingToATick = test::ScratchDir;

TEST_F(GoingToATick, ReportsEvery50MsAndStopsAtACancel) {
    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, 5));
    takeUserInput(*state, PlaceInput{230, 230, 0, 20, 20, 20});
    for (int t = 0; t < 300; ++t) runWatchedTick(*state);
    const std::string journal = (dir / "s.vxs").string();
    ASSERT_TRUE(saveJournal(*state, state->session, journal));
    ASSERT_TRUE(openSession(*state, journal));

    OneMsAReading clock;
    state->passClock = &clock;
    desktop.cancelAtProgress = 2;
    goToTick(*state, desktop, 300);
    // One reading a tick: the second report comes after 100 ticks.
    EXPECT_EQ(state->session.ticks, 2 * jumpProgressMs);
    EXPECT_EQ(desktop.progressCalls, 2);
    EXPECT_TRUE(replaying(*state));
    EXPECT_EQ(state->paused, 1);

    desktop.cancelAtProgress = -1;
    goToTick(*state, desktop, 1000);  // past the end: to the end
    EXPECT_EQ(state->session.ticks, 300u);
    EXPECT_TRUE(atRecordingEnd(*state));
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace vivarix
