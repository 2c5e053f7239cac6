// Start-up on a desktop that lacks a rendering surface or a control list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_loop.h"
#include "app/startup.h"
#include "lab_run.h"
#include "session/control_table.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

using Messages = std::vector<std::pair<std::string, std::string>>;

TEST(StartUp, WithoutARenderingSurfaceShowsTheErrorBoxAndOpensNoWindow) {
    test::ScriptedDesktop desktop;
    desktop.surfaceAvailable = false;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    EXPECT_FALSE(startUp(*state, desktop, text, 1));
    EXPECT_EQ(desktop.messages, (Messages{{"Error", "Can't open DirectX 7 or higher!"}}));
    EXPECT_FALSE(desktop.windowOpened);
}

// Without a control list every control reads 0: the "Random" option is not selected
// and the automatic feeding is 0.  The program runs on.
TEST(StartUp, WithoutControlsThePlateStartsEmptyAndAutoIsZero) {
    for (const bool controls : {true, false}) {
        SCOPED_TRACE(controls ? "with controls" : "without controls");
        test::ScriptedDesktop desktop;
        desktop.controlsAvailable = controls;
        NoTextRenderer text;
        auto state = std::make_unique<AppState>();
        ASSERT_TRUE(startUp(*state, desktop, text, 1));
        EXPECT_TRUE(desktop.windowOpened);
        EXPECT_EQ(desktop.messages, Messages{});
        EXPECT_EQ(lab::nutrientTotal(state->plateGrid) > 0, controls);
        EXPECT_EQ(state->autoFeedAmount, controls ? trackbar::autoFeed.initial * trackbar::autoFeed.perStep : 0);
        for (int pass = 0; pass < 5; ++pass) ASSERT_TRUE(runPass(*state, desktop));
    }
}

}  // namespace
}  // namespace vivarix
