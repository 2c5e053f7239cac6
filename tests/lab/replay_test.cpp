// A session of the program, journalled and replayed on a lab, tick for tick.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_loop.h"
#include "app/startup.h"
#include "lab_run.h"
#include "sim/control_numbers.h"
#include "support/program_run.h"
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

using Replaying = test::ScratchDir;

test::Outcome replay(const std::filesystem::path& journal, std::vector<std::string> more = {}) {
    more.insert(more.begin(), {"--replay", journal.string()});
    return test::runMain(labMain, "vivarix-lab", more);
}

void write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST_F(Replaying, ASessionReplaysToTheSameCreaturesAndAMovedClickDoesNot) {
    test::ScriptedDesktop desktop;
    const std::unique_ptr<AppState> session = recordedSession(desktop);
    const std::filesystem::path saved = dir / "session.vxs";
    ASSERT_TRUE(saveJournal(*session, saved.string()));
    ASSERT_GT(session->creatureList.size(), 10u);

    const test::Outcome same = replay(saved, {"--every", "500", "--dump-creatures", (dir / "after").string()});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.err, "replay verified: 3 checkpoints\n");  // ticks 1000 and 2000, and the save
    EXPECT_EQ(test::lines(same.out).back().substr(0, 5), std::to_string(session->sessionTicks) + ",");
    EXPECT_EQ(session->sessionTicks, 2450u);  // 50 passes paused
    EXPECT_EQ(test::readFile(dir / "after"), creaturesText(session->creatureList));

    // The placement on the new plate, one cell to the right.
    std::string moved = session->journal.text;
    const std::size_t place = moved.rfind(" 230 230 ");
    ASSERT_NE(place, std::string::npos) << moved;
    moved.replace(place, 5, " 231 ");
    write(dir / "moved.vxs", moved);
    const test::Outcome other = replay(dir / "moved.vxs");
    EXPECT_EQ(other.status, 3);
    EXPECT_NE(other.err.find("replay mismatch at tick 2000: the journal's creatures hash is "), std::string::npos)
        << other.err;

    // A program killed while writing: the journal up to its last whole line replays.
    const std::string& text = session->journal.text;
    const std::size_t secondCheck = text.find("check 2000 ");
    write(dir / "cut.vxs", text.substr(0, secondCheck + 14));
    const test::Outcome cut = replay(dir / "cut.vxs");
    EXPECT_EQ(cut.status, 0) << cut.err;
    EXPECT_EQ(cut.err, "replay verified: 1 checkpoints\n");
}

TEST_F(Replaying, ABrokenJournalOrAnOptionOfItsOwnIsRefused) {
    write(dir / "bad.vxs", "vivarix-session 1\nseed 1\nstart random\nauto 5 10\nauto 4 10\n");
    const test::Outcome bad = replay(dir / "bad.vxs");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "vivarix-lab: " + (dir / "bad.vxs").string() + ":5: tick 4 comes after tick 5\n");
    EXPECT_EQ(replay(dir / "missing.vxs").status, 2);
    const test::Outcome seeded = replay(dir / "bad.vxs", {"--seed", "4"});
    EXPECT_EQ(seeded.status, 2);
    EXPECT_EQ(seeded.err.rfind("vivarix-lab: --seed: not with --replay", 0), 0u) << seeded.err;
}

}  // namespace
}  // namespace vivarix::lab
