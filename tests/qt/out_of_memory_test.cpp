// Running out of memory in the desktop program: the failed append is reported in a
// modal message box, and once the user has pressed OK the pass and the loop go on.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdint>

#include "../support/tiny_plate.h"
#include "app/main_loop.h"
#include "lab_run.h"
#include "platform/core/list.h"
#include "qt_test_support.h"

namespace vivarix::qttest {
namespace {

// Watches for modal message boxes while it lives; notes what each one shows and
// presses its OK button, as the user would.
class OkPresser {
public:
    OkPresser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ++boxes;
            title = box->windowTitle().toStdString();
            text = box->text().toStdString();
            buttons = static_cast<int>(box->buttons().size());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            // A box the click did not close must not hang the tests.
            if (QApplication::activeModalWidget() == box) {
                ++notClosedByOk;
                box->done(0);
            }
        });
        timer.start(10);
    }

    int boxes = 0;
    int notClosedByOk = 0;
    std::string title, text;
    int buttons = 0;

private:
    QTimer timer;
};

class OutOfMemoryBox : public ProgramWindow {
protected:
    void SetUp() override {
        ProgramWindow::SetUp();
        state->creatureList.setAllocationFaults(&faults);
        state->nutriumList.setAllocationFaults(&faults);
    }

    AllocationFaults faults;  // asked by both lists about every append
};

TEST_F(OutOfMemoryBox, AFailedPlacementShowsTheBoxAndTheLoopGoesOnAfterOk) {
    OkPresser user;
    const QPoint at(150, 200);
    QTest::mouseMove(surface(), at);
    passes(2);
    ASSERT_TRUE(state->creatureList.empty());
    ASSERT_EQ(user.boxes, 0);

    // The click is the first append of the pass that handles it: the tick's feeding
    // comes after the event.
    faults.failRequest(1);
    QTest::mouseClick(surface(), Qt::LeftButton, {}, at);
    const std::int32_t frames = state->frameCounter;
    const std::int64_t nutrient = lab::nutrientTotal(state->plateGrid);
    const std::uint64_t draws = state->random.draws;
    ASSERT_TRUE(runPass(*state, *desktop));  // returns only once the box is closed

    EXPECT_EQ(user.boxes, 1);
    EXPECT_EQ(user.title, test::noMemoryTitle);
    EXPECT_EQ(user.text, test::noMemoryText);
    EXPECT_EQ(user.buttons, 1);
    EXPECT_EQ(user.notClosedByOk, 0);
    EXPECT_GT(faults.requests(), 1) << "the tick after the refused placement queued nothing";
    EXPECT_TRUE(state->creatureList.empty());
    EXPECT_EQ(state->kindCount[0], 0);
    EXPECT_EQ(state->kindCount[1], 0);
    // The rest of the pass ran: its tick fed the plate, and its frame emptied the
    // repaint queue.
    EXPECT_EQ(state->frameCounter, frames + 1);
    EXPECT_GT(lab::nutrientTotal(state->plateGrid), nutrient);
    EXPECT_GT(state->random.draws, draws);
    EXPECT_TRUE(state->nutriumList.empty());
    EXPECT_EQ(window()->windowTitle().toStdString(), "Vivarix 0.4alpha");

    // Later passes run on: the release, then a shortcut and a click that places a
    // creature of the chosen kind, with no further box.
    passes(2);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    QTest::keyClick(window()->windowHandle(), Qt::Key_S);
    passes(2);
    QTest::mouseClick(surface(), Qt::LeftButton, {}, at);
    passes(2);
    ASSERT_EQ(state->creatureList.size(), 1u);
    EXPECT_EQ(state->creatureList.front()->kind, 1);
    EXPECT_EQ(state->kindCount[1], 1);
    EXPECT_EQ(user.boxes, 1);
}

TEST_F(OutOfMemoryBox, AFailedRepaintInTheTickShowsTheBoxAndTheFrameIsDrawn) {
    OkPresser user;
    passes(2);
    // No event is pending: the first append of the pass is a repaint of the
    // automatic feeding.
    faults.failRequest(1);
    const std::int32_t frames = state->frameCounter;
    ASSERT_TRUE(runPass(*state, *desktop));
    EXPECT_EQ(user.boxes, 1);
    EXPECT_EQ(user.title, test::noMemoryTitle);
    EXPECT_EQ(user.text, test::noMemoryText);
    EXPECT_EQ(user.notClosedByOk, 0);
    EXPECT_EQ(state->frameCounter, frames + 1);
    EXPECT_TRUE(state->nutriumList.empty());
    passes(5);
    EXPECT_EQ(user.boxes, 1);
    EXPECT_EQ(state->frameCounter, frames + 6);
}

}  // namespace
}  // namespace vivarix::qttest
