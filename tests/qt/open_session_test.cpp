// A saved session opened in the window: watched, jumped through and taken over,
// each time in step with vivarix-lab --replay; and files that are no session.
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>

#include "app/go_to_tick.h"
#include "app/population_watch.h"
#include "app/user_input.h"
#include "lab_run.h"
#include "platform/qt/qt_desktop_testing.h"
#include "qt_test_support.h"
#include "session/control_table.h"
#include "sim/creature_text.h"
#include "support/program_run.h"

namespace vivarix::qttest {
namespace {

class OpenSession : public ProgramWindow {
protected:
    void SetUp() override {
        ProgramWindow::SetUp();
        presentWithoutWaiting(*desktop);
        dir = std::filesystem::path(::testing::TempDir()) /
              ("vivarix-open-" + std::to_string(QCoreApplication::applicationPid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        ProgramWindow::TearDown();
    }

    // A session of this program, saved: creatures of both kinds, a while of right
    // button feeding, Auto raised and a new plate with creatures of its own.
    std::string recordSession() {
        AppState& s = *state;
        for (int i = 0; i < 12; ++i) takeUserInput(s, PlaceInput{150 + 12 * i, 200 + 20 * (i % 3), i % 2, 20, 20, 20});
        for (std::uint64_t t = 0; t < 2400; ++t) {
            s.mouseX = 220;
            s.mouseY = 240;
            s.feedingActive = t >= 300 && t < 340 ? 1 : 0;
            if (t == 900) takeUserInput(s, AutoInput{25});
            if (t == 1500) takeUserInput(s, PlateInput{true});
            if (t == 1500)
                for (int i = 0; i < 8; ++i) takeUserInput(s, PlaceInput{180 + 15 * i, 230, i % 2, 30, 30, 15});
            runWatchedTick(s);
        }
        const std::string path = (dir / "recorded.vxs").string();
        EXPECT_TRUE(saveJournal(s, s.session, path));
        return path;
    }

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window()->windowHandle(), k, modifiers);
        passes(3);  // the shortcut and the releases
    }
    // Runs `act`, answering the dialog it opens: a file dialog with `answer` as the
    // path, the tick dialog with it as the tick.
    void answering(const std::string& answer, const std::function<void()>& act) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            timer.stop();
            if (auto* files = qobject_cast<QFileDialog*>(modal)) return answerFileDialog(*files, answer);
            if (auto* tick = qobject_cast<QInputDialog*>(modal)) tick->setIntValue(std::stoi(answer));
            static_cast<QDialog*>(modal)->accept();
        });
        timer.start(10);
        act();
        for (int pass = 0; pass < 10 && timer.isActive(); ++pass) passes(1);
        EXPECT_FALSE(timer.isActive()) << "no dialog";
    }
    void goTo(std::uint64_t tick) {
        answering(std::to_string(tick), [&] { key(Qt::Key_G, Qt::ControlModifier); });
    }
    // The messages of the boxes `act` opens.
    std::vector<std::string> messagesOf(const std::function<void()>& act) {
        std::vector<std::string> texts;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text().toStdString());
                box->accept();
            }
        });
        timer.start(10);
        act();
        return texts;
    }
    void drop(const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        // As a drag ends: the window takes it in, then the drop.
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window(), &enter);
        QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window(), &event);
        passes(2);
    }
    std::string title() const { return window()->windowTitle().toStdString(); }

    // The creatures hash vivarix-lab --replay gives after `ticks` ticks.
    std::string labHash(const std::string& journal, std::uint64_t ticks) {
        const test::Outcome run = test::runMain(lab::labMain, "vivarix-lab",
                                                {"--replay", journal, "--ticks", std::to_string(ticks), "--every",
                                                 std::to_string(std::max<std::uint64_t>(ticks, 1))});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out.substr(run.out.rfind(',') + 1, 16);
    }

    std::filesystem::path dir;
};

TEST_F(OpenSession, PlaysGoesToTicksBothWaysAndEndsAsTheLab) {
    const std::string journal = recordSession();
    const std::uint64_t end = state->session.ticks;
    answering(journal, [&] { key(Qt::Key_O, Qt::ControlModifier); });
    EXPECT_EQ(title(), "Vivarix 0.4alpha  replay 0/" + std::to_string(end) + "  *** PAUSE ***");
    EXPECT_EQ(label(control::seedLabel), "Seed: 20261207");

    for (int speed = 0; speed < 3; ++speed) key(Qt::Key_F);  // x64
    key(Qt::Key_P);
    for (int pass = 0; pass < 200 && !state->paused; ++pass) passes(1);
    passes(1);
    EXPECT_EQ(title(), "Vivarix 0.4alpha  replay end " + std::to_string(end) + "  *** PAUSE ***");
    EXPECT_EQ(creaturesHash(state->creatureList), labHash(journal, end));
    EXPECT_EQ(state->session.journal.text, test::readFile(journal));  // rebuilt as it went

    for (const std::uint64_t tick : {1000u, 1400u, 1600u}) {  // back, then forward, then past a new plate
        goTo(tick);
        EXPECT_EQ(state->session.ticks, tick);
        EXPECT_EQ(creaturesHash(state->creatureList), labHash(journal, tick)) << tick;
    }
    // The history counts the plate's ticks the jumps passed: the new plate's 100.
    EXPECT_EQ(state->watch.plateTicks, 100u);
    ASSERT_FALSE(historySamples(state->watch.history).empty());
    EXPECT_EQ(historySamples(state->watch.history).back().lastTick, 100u);
    EXPECT_LE(historySamples(state->watch.history).front().firstTick, jumpSampleTicks);

    key(Qt::Key_End);
    EXPECT_EQ(creaturesHash(state->creatureList), labHash(journal, end));
    key(Qt::Key_P);  // the recording is over: live from here
    EXPECT_EQ(title(), "Vivarix 0.4alpha  >> x64");
    EXPECT_GT(state->session.ticks, end);

    std::ofstream(dir / "empty.vxs") << "vivarix-session 1\nseed 77\nstart empty\n";
    drop((dir / "empty.vxs").string());
    EXPECT_EQ(title(), "Vivarix 0.4alpha  replay end 0  *** PAUSE ***");
    EXPECT_EQ(label(control::seedLabel), "Seed: 77");
}

TEST_F(OpenSession, ADroppedSessionTakenOverBranchesIntoAJournalThatReplays) {
    const std::string journal = recordSession();
    drop(journal);
    ASSERT_EQ(state->session.ticks, 0u);
    ASSERT_EQ(title().rfind("Vivarix 0.4alpha  replay 0/", 0), 0u) << title();
    goTo(1200);
    key(Qt::Key_P);
    passes(20);
    QTest::mouseMove(surface(), {330, 120});
    QTest::mouseClick(surface(), Qt::LeftButton, {}, {330, 120});
    passes(4);
    EXPECT_EQ(title(), "Vivarix 0.4alpha");
    std::smatch placed;
    ASSERT_TRUE(std::regex_search(state->session.journal.text, placed, std::regex("\nplace (\\d+) 330 120 ")));
    const std::uint64_t tookOver = std::stoull(placed[1]);
    EXPECT_GE(tookOver, 1220u);
    passes(900);

    const std::string branch = (dir / "branch.vxs").string();
    answering(branch, [&] { key(Qt::Key_S, Qt::ControlModifier); });
    const test::Outcome replayed = test::runMain(lab::labMain, "vivarix-lab", {"--replay", branch});
    EXPECT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_NE(replayed.err.find("replay verified"), std::string::npos) << replayed.err;
    const auto checkpointsUpTo = [&](const std::string& path) {
        std::vector<std::string> found;
        for (const std::string& line : test::lines(test::readFile(path)))
            if (line.rfind("check ", 0) == 0 && std::stoull(line.substr(6)) <= tookOver) found.push_back(line);
        return found;
    };
    EXPECT_EQ(checkpointsUpTo(branch), checkpointsUpTo(journal));
    EXPECT_EQ(checkpointsUpTo(branch).size(), 1u);  // at 1000
}

TEST_F(OpenSession, BadFilesAreToldAndTheSessionGoesOn) {
    passes(5);
    const std::string journal = recordSession();
    const std::string text = test::readFile(journal);
    const auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    };
    std::string broken = text;
    broken.insert(broken.find("\nplace ") + 1, "place 3 1 2\n");
    const std::pair<std::string, std::string> bad[] = {
        {write("notes.vxs", "shopping list\n"), "notes.vxs cannot be opened: line 1: not a Vivarix session journal."},
        {write("newer.vxs", "vivarix-session 2\nseed 1\nstart random\n"),
         "newer.vxs cannot be opened: line 1: journal format \"2\" is not supported (only 1)."},
        {write("broken.vxs", broken), "broken.vxs cannot be opened: line 5: missing kind."},
        {dir.string(), " is a folder, not a session journal."},
    };
    std::uint64_t ticks = state->session.ticks;
    for (const auto& [path, message] : bad) {
        const std::vector<std::string> told = messagesOf([&] { drop(path); });
        ASSERT_EQ(told.size(), 1u) << path;
        EXPECT_NE(told[0].find(message), std::string::npos) << told[0];
        EXPECT_EQ(title(), "Vivarix 0.4alpha");
        ticks += 2;
        EXPECT_EQ(state->session.ticks, ticks);  // the live session went on
    }

    std::string tampered = text;
    tampered.replace(tampered.find("check 1000 ") + 11, 16, "0123456789abcdef");
    drop(write("tampered.vxs", tampered));
    const std::vector<std::string> told = messagesOf([&] { key(Qt::Key_End); });
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(std::regex_search(
        told[0], std::regex("parted from its recording at tick 1000: the journal's creatures hash is 0123456789abcdef, "
                            "the replay's [0-9a-f]{16}\\. The session goes on live from tick 1000\\.")))
        << told[0];
    EXPECT_EQ(state->session.ticks, 1000u);
    EXPECT_EQ(title(), "Vivarix 0.4alpha  *** PAUSE ***");
    key(Qt::Key_P);
    EXPECT_EQ(state->session.ticks, 1003u);
}

}  // namespace
}  // namespace vivarix::qttest
