// A session of the program, journalled and replayed on a lab, tick for tick.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_loop.h"
#include "app/startup.h"
#include "replay.h"
#include "sim/control_numbers.h"
#include "sim/tick.h"
#include "support/scripted_desktop.h"

namespace vivarix::lab {
namespace {

// A session with every kind of input: placements of both kinds, feeding while the
// pointer moves, the Auto and creature trackbars, a paused stretch and a new empty
// plate; 2,500 passes.
std::unique_ptr<AppState> recordedSession(test::ScriptedDesktop& desktop) {
    static NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    EXPECT_TRUE(startUp(*state, desktop, text, 9));
    for (int pass = 0; pass < 2500; ++pass) {
        if (pass == 0 || pass == 1300) {
            desktop.movePointer(230, 230);
            desktop.queue(event::leftDown);
        } else if (pass == 2) {
            desktop.queue(event::shortcut, 62);  // S: the red kind
        } else if (pass == 3) {
            desktop.controls().setControlState(control::magenTrackbar, 35);
            desktop.movePointer(240, 250);
            desktop.queue(event::leftDown);
        } else if (pass == 20) {
            desktop.queue(event::rightDown);
        } else if (pass > 20 && pass < 60) {
            desktop.movePointer(240 + pass % 7, 250);
        } else if (pass == 60) {
            desktop.queue(event::rightUp);
        } else if (pass == 100) {
            desktop.controls().setControlState(control::autoTrackbar, 25);
            desktop.queue(event::control, control::autoTrackbar);
        } else if (pass == 900 || pass == 950) {
            desktop.queue(event::shortcut, 66);  // P
        } else if (pass == 920) {
            desktop.controls().setControlState(control::emptyOption, 1);
            desktop.queue(event::control, control::newPlateButton);
        }
        EXPECT_TRUE(runPass(*state, desktop));
    }
    return state;
}

struct Replayed {
    bool agreed = true;
    std::string mismatch;
    std::size_t verified = 0;
    std::string finalHash;
};

Replayed replay(const std::string& journal) {
    ParsedJournal parsed = parseJournal(journal);
    EXPECT_EQ(parsed.error, "");
    Replay replay(std::move(parsed));
    auto lab = std::make_unique<Lab>();
    replay.prepare(*lab);
    Replayed result;
    for (std::uint64_t tick = 0;; ++tick) {
        if (!replay.enterTick(*lab, tick)) {
            result.agreed = false;
            break;
        }
        if (tick == replay.lastTick()) break;
        runTick(lab->state);
        settleWithoutFrame(lab->state);
    }
    result.mismatch = replay.mismatch;
    result.verified = replay.checkpointsVerified();
    result.finalHash = creaturesHash(lab->state.creatureList);
    return result;
}

TEST(Replay, ASessionReplaysToTheSameCreaturesAndAMovedClickDoesNot) {
    test::ScriptedDesktop desktop;
    const std::unique_ptr<AppState> session = recordedSession(desktop);
    ASSERT_TRUE(saveJournal(*session, ::testing::TempDir() + "vivarix-replay-test.vxs"));
    const std::string journal = session->journal.text;
    ASSERT_GT(session->creatureList.size(), 10u);

    const Replayed same = replay(journal);
    EXPECT_TRUE(same.agreed) << same.mismatch;
    EXPECT_EQ(same.verified, 3u);  // ticks 1000 and 2000, and the save
    EXPECT_EQ(same.finalHash, creaturesHash(session->creatureList));

    // The placement on the new plate, one cell to the right.
    std::string moved = journal;
    const std::size_t place = moved.rfind(" 230 230 ");
    ASSERT_NE(place, std::string::npos) << journal;
    moved.replace(place, 5, " 231 ");
    const Replayed other = replay(moved);
    EXPECT_FALSE(other.agreed);
    EXPECT_NE(other.mismatch.find("tick 2000:"), std::string::npos) << other.mismatch;
}

}  // namespace
}  // namespace vivarix::lab
