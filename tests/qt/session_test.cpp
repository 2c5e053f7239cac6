// A session of the real program, driven through its window, saved with Ctrl+S and
// replayed by vivarix-lab tick for tick.
#include <QApplication>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "lab_run.h"
#include "platform/qt/qt_desktop_testing.h"
#include "qt_test_support.h"
#include "session/control_table.h"
#include "support/program_run.h"

namespace vivarix::qttest {
namespace {

class Session : public ProgramWindow {
protected:
    void SetUp() override {
        ProgramWindow::SetUp();
        presentWithoutWaiting(*desktop);
        dir = std::filesystem::path(::testing::TempDir()) /
              ("vivarix-session-" + std::to_string(QCoreApplication::applicationPid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        ProgramWindow::TearDown();
    }

    void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseMove(w, at);
        QTest::mouseClick(w, button, {}, at);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window()->windowHandle(), k, modifiers);
    }

    // Ctrl+S, answering the save dialog with `path`.
    void saveAs(const std::string& path) {
        const SaveDialogAnswer answer(path);
        key(Qt::Key_S, Qt::ControlModifier);
        passes(3);  // the shortcut and the release of S and Ctrl
        EXPECT_TRUE(answer.answered()) << "no save dialog";
    }

    test::Outcome replay(const std::string& journal) {
        return test::runMain(lab::labMain, "vivarix-lab", {"--replay", journal});
    }

    std::filesystem::path dir;
};

TEST_F(Session, SavedWithCtrlSAndReplayedByTheLab) {
    // Each input is followed by passes enough to hand out all its events, so that a
    // click is handled while the pointer is still where it was made.
    click(surface(), {230, 230});  // blue
    passes(5);
    key(Qt::Key_S);
    passes(5);
    click(surface(), {250, 240});  // red
    passes(5);
    QTest::mousePress(surface(), Qt::RightButton, {}, {200, 200});
    passes(40);
    for (const int x : {205, 210, 215}) {
        QTest::mouseMove(surface(), {x, 200});
        passes(20);
    }
    QTest::mouseRelease(surface(), Qt::RightButton, {}, {215, 200});
    auto* autoSlider = static_cast<QSlider*>(widget(control::autoTrackbar));
    autoSlider->setFocus();
    QTest::keyClick(autoSlider, Qt::Key_Right);
    passes(1000);
    showTab(2);
    key(Qt::Key_P);
    passes(5);
    click(widget(control::emptyOption), {5, 10});
    passes(5);
    click(widget(control::newPlateButton), {10, 10});
    passes(5);
    key(Qt::Key_P);
    passes(5);
    for (const int x : {226, 230, 234}) {  // beside the centre's food
        click(surface(), {x, 230});
        passes(5);
    }
    passes(1100);
    ASSERT_GE(state->creatureList.size(), 1u) << state->session.journal.text;

    const std::string saved = (dir / "session.vxs").string();
    saveAs(saved);
    std::ifstream file(saved, std::ios::binary);
    const std::string journal((std::istreambuf_iterator<char>(file)), {});
    ASSERT_EQ(journal, state->session.journal.text);
    for (const char* entry : {" 230 230 0 20 20 20\n", " 250 240 1 20 20 20\n", " 215 200 12 25\n", "\nauto ",
                              "\nnofeed ", "\nplate ", " empty\n", "\ncheck 2000 "})
        EXPECT_NE(journal.find(entry), std::string::npos) << entry << " in\n" << journal;

    const test::Outcome same = replay(saved);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.err, "replay verified: 3 checkpoints\n");

    std::string moved = journal;
    moved.replace(moved.find(" 250 240 1 "), 5, " 251 ");
    std::ofstream(dir / "moved.vxs", std::ios::binary) << moved;
    const test::Outcome other = replay((dir / "moved.vxs").string());
    EXPECT_EQ(other.status, 3);
    EXPECT_NE(other.err.find("mismatch at tick 1000:"), std::string::npos) << other.err;

    const std::size_t lastLine = journal.rfind('\n', journal.size() - 2);
    std::ofstream(dir / "cut.vxs", std::ios::binary) << journal.substr(0, lastLine + 8);
    const test::Outcome cut = replay((dir / "cut.vxs").string());
    EXPECT_EQ(cut.status, 0) << cut.err;
    EXPECT_EQ(cut.err, "replay verified: 2 checkpoints\n");
}

}  // namespace
}  // namespace vivarix::qttest
