// A session of the program, journalled and replayed on a lab, tick for tick.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_loop.h"
#include "app/startup.h"
#include "lab_run.h"
#include "session/control_table.h"
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
    ASSERT_TRUE(saveJournal(*session, session->session, saved.string()));
    ASSERT_GT(session->creatureList.size(), 10u);

    const test::Outcome same = replay(saved, {"--every", "500", "--dump-creatures", (dir / "after").string()});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.err, "replay verified: 3 checkpoints\n");  // ticks 1000 and 2000, and the save
    EXPECT_EQ(test::lines(same.out).back().substr(0, 5), std::to_string(session->session.ticks) + ",");
    EXPECT_EQ(session->session.ticks, 2450u);  // 50 passes paused
    EXPECT_EQ(test::readFile(dir / "after"), creaturesText(session->creatureList));

    // The same journal after a trip through a system with Windows line ends.
    std::string windows;
    for (const char c : test::readFile(saved)) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    write(dir / "windows.vxs", windows);
    const test::Outcome crlf = replay(dir / "windows.vxs", {"--every", "500"});
    EXPECT_EQ(crlf.status, 0) << crlf.err;
    EXPECT_EQ(crlf.out, same.out);

    // The placement on the new plate, one cell to the right.
    std::string moved = session->session.journal.text;
    const std::size_t place = moved.rfind(" 230 230 ");
    ASSERT_NE(place, std::string::npos) << moved;
    moved.replace(place, 5, " 231 ");
    write(dir / "moved.vxs", moved);
    const test::Outcome other = replay(dir / "moved.vxs");
    EXPECT_EQ(other.status, 3);
    EXPECT_NE(other.err.find("replay mismatch at tick 2000: the journal's creatures hash is "), std::string::npos)
        << other.err;

    // A program killed while writing: the journal up to its last whole line replays.
    const std::string& text = session->session.journal.text;
    const std::size_t secondCheck = text.find("check 2000 ");
    write(dir / "cut.vxs", text.substr(0, secondCheck + 14));
    const test::Outcome cut = replay(dir / "cut.vxs");
    EXPECT_EQ(cut.status, 0) << cut.err;
    EXPECT_EQ(cut.err, "replay verified: 1 checkpoints\n");
}

// Written by the program before its inputs became values (placements of both
// kinds, feeding, Auto and creature sliders, fast-forward, single steps and new
// plates of both kinds): it replays as it did then.
TEST_F(Replaying, AJournalOfTheEarlierProgramReplaysVerified) {
    const test::Outcome old = replay(VIVARIX_TEST_SOURCE_DIR "/lab/golden/recorded_session.vxs");
    EXPECT_EQ(old.status, 0) << old.err;
    EXPECT_EQ(old.err, "replay verified: 17 checkpoints\n");
}

TEST_F(Replaying, WhatNoSessionCanMakeIsAMismatchOrABrokenJournal) {
    const std::string head = "vivarix-session 1\nseed 3\nstart random\nauto 0 10\n";
    // The cell (1, 1) is off the plate: the program would not have journalled it.
    write(dir / "refused.vxs", head + "place 0 230 230 0 20 20 20\nplace 5 1 1 1 20 20 20\ncheck 9 0123456789abcdef\n");
    const test::Outcome refused = replay(dir / "refused.vxs", {"--dump-creatures", (dir / "at").string()});
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.err,
              "vivarix-lab: replay mismatch at tick 5: the placement on line 6 was refused: the cell is off the plate\n"
              "vivarix-lab: the dumps hold the state at tick 5, where the replay stopped\n");
    EXPECT_EQ(test::lines(test::readFile(dir / "at")).size(), 1u);  // the creature placed at tick 0

    write(dir / "slider.vxs", head + "place 0 230 230 0 0 0 0\n");
    const test::Outcome slider = replay(dir / "slider.vxs");
    EXPECT_EQ(slider.status, 2);
    EXPECT_EQ(slider.err, "vivarix-lab: " + (dir / "slider.vxs").string() +
                              ":5: max.Magen position 0 is outside 10..50\n");

    write(dir / "unchecked.vxs", head + "place 0 230 230 0 20 20 20\nnofeed 40\n");
    const test::Outcome unchecked = replay(dir / "unchecked.vxs", {"--every", "100"});
    EXPECT_EQ(unchecked.status, 0) << unchecked.err;
    EXPECT_EQ(unchecked.err, "replay done: no checkpoint to verify\n");
    EXPECT_EQ(test::lines(unchecked.out).back().substr(0, 5), "40,1,");
}

TEST_F(Replaying, ABrokenJournalOrAnOptionOfItsOwnIsRefused) {
    write(dir / "bad.vxs", "vivarix-session 1\nseed 1\nstart random\nauto 5 10\nauto 4 10\n");
    const test::Outcome bad = replay(dir / "bad.vxs");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "vivarix-lab: " + (dir / "bad.vxs").string() + ":5: tick 4 comes after tick 5\n");
    const test::Outcome missing = replay(dir / "missing.vxs");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "vivarix-lab: " + (dir / "missing.vxs").string() +
                               ": cannot be read: No such file or directory\n");
    const test::Outcome folder = replay(dir);
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err, "vivarix-lab: " + dir.string() + ": is a folder, not a session journal\n");
    const test::Outcome seeded = replay(dir / "bad.vxs", {"--seed", "4"});
    EXPECT_EQ(seeded.status, 2);
    EXPECT_EQ(seeded.err.rfind("vivarix-lab: --seed: not with --replay", 0), 0u) << seeded.err;
}

}  // namespace
}  // namespace vivarix::lab
