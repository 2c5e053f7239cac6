// A storm of window events: thousands of them queued faster than the main loop takes
// them (all simulated before the first pass), then handled one per pass, none lost
// and none reordered, each with its effect on the program.
#include <QSlider>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "../lab/invariants.h"
#include "../support/tiny_plate.h"
#include "app/control_panel.h"
#include "app/main_loop.h"
#include "qt_test_support.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

// The program's desktop, with every event that pollEvent hands out noted down.
//
// A pass presents its frame with the wait that holds the program to 61 passes a
// second, so 10,000 passes would take 165 s.  The wait paces the display and has no
// part in the order of events, so this desktop presents without it.
class RecordingDesktop final : public Desktop {
public:
    explicit RecordingDesktop(Desktop& program) : real(program) {}

    std::vector<Polled> handedOut;  // every event but "none", in the order handed out
    std::size_t polls = 0;
    std::int32_t lastCode = 0;

    std::int32_t pollEvent() override {
        ++polls;
        lastCode = real.pollEvent();
        if (lastCode != event::none)
            handedOut.push_back(Polled{lastCode, lastCode == event::control    ? real.eventControl()
                                                 : lastCode == event::shortcut ? real.eventShortcut()
                                                                               : -1});
        return lastCode;
    }
    void presentFrame(const Image& backBuffer, bool) override { real.presentFrame(backBuffer, false); }

    std::int32_t eventControl() const override { return real.eventControl(); }
    std::int32_t eventShortcut() const override { return real.eventShortcut(); }
    CursorPosition cursorPosition(std::int32_t window) const override { return real.cursorPosition(window); }
    CursorPosition eventPosition() const override { return real.eventPosition(); }
    bool renderSurfaceAvailable() override { return real.renderSurfaceAvailable(); }
    bool openWindow(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::string_view title) override {
        return real.openWindow(number, x, y, width, height, title);
    }
    void setWindowTitle(std::int32_t window, std::string_view title) override { real.setWindowTitle(window, title); }
    bool openRenderSurface(std::int32_t window, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height) override {
        return real.openRenderSurface(window, x, y, width, height);
    }
    bool beginControls(std::int32_t window) override { return real.beginControls(window); }
    void endControls() override { real.endControls(); }
    void createPanel(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override {
        real.createPanel(n, x, y, w, h);
    }
    void addPanelTab(std::int32_t panel, std::string_view caption) override { real.addPanelTab(panel, caption); }
    void createFrame(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::string_view caption) override {
        real.createFrame(n, x, y, w, h, caption);
    }
    void createText(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    std::string_view text) override {
        real.createText(n, x, y, w, h, text);
    }
    void createTrackbar(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                        std::int32_t minimum, std::int32_t maximum, std::int32_t flags) override {
        real.createTrackbar(n, x, y, w, h, minimum, maximum, flags);
    }
    void createOption(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::string_view caption) override {
        real.createOption(n, x, y, w, h, caption);
    }
    void createButton(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::string_view caption) override {
        real.createButton(n, x, y, w, h, caption);
    }
    void createImageButton(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                           ImageHandle image) override {
        real.createImageButton(n, x, y, w, h, image);
    }
    void createImageView(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                         ImageHandle image) override {
        real.createImageView(n, x, y, w, h, image);
    }
    void disableControl(std::int32_t n, std::int32_t flag) override { real.disableControl(n, flag); }
    void setControlTooltip(std::int32_t n, std::string_view text) override { real.setControlTooltip(n, text); }
    void addShortcut(std::int32_t window, char key, std::int32_t shortcut) override {
        real.addShortcut(window, key, shortcut);
    }
    std::int32_t getControlState(std::int32_t n) const override { return real.getControlState(n); }
    void setControlState(std::int32_t n, std::int32_t value) override { real.setControlState(n, value); }
    void setControlText(std::int32_t n, std::string_view text) override { real.setControlText(n, text); }
    void messageBox(std::string_view title, std::string_view text) override { real.messageBox(title, text); }
    void addKeyShortcut(std::int32_t window, std::string_view keys, std::int32_t shortcut) override {
        real.addKeyShortcut(window, keys, shortcut);
    }
    void showHelp() override { real.showHelp(); }
    std::string askSaveFileName(std::string_view title, std::string_view name) override {
        return real.askSaveFileName(title, name);
    }
    void setSurfaceTips(std::vector<SurfaceTip> tips) override { real.setSurfaceTips(std::move(tips)); }

private:
    Desktop& real;
};

// Simulates input of every kind the window takes and notes the events the desktop
// must hand out for it.  Each simulated event is delivered at once (into the
// desktop's queue): nothing is polled meanwhile.
//
// The pointer is moved before every click to where the click will be, because a
// click elsewhere brings its own motion event first.  Right-button drags stay on
// the plate (the plate holds the pointer while the button is down), and the
// trackbar is paged only where a page is certain: towards its right end while it
// is at most 32, towards its left end while it is at least 8 (a fifth of 0..40 is
// 8 a page), so that each click is one event on the press and one on the release.
class Storm {
public:
    Storm(QWidget* window, QWidget* plate, QWidget* kindButton, QSlider* autoSlider)
        : window(window), plate(plate), kindButton(kindButton), slider(autoSlider) {
        sliderValue = slider->value();
        const int y = handleRect(slider).center().y();
        sliderLeft = QPoint(3, y);
        sliderRight = QPoint(slider->width() - 3, y);
    }

    std::vector<Polled> expected;
    std::vector<QPoint> pressedAt;  // where each expected left press happened, in the window
    int sliderValue = 0;
    bool rightHeld = false;

    // Simulates input until `count` more events are expected, ending with the
    // pointer over the plate and the right button up.
    void rage(std::size_t count) {
        const std::size_t until = expected.size() + count;
        while (expected.size() + 4 < until) {
            const int roll = static_cast<int>(dice() % 100);
            if (roll < 25)
                hoverPlate();
            else if (roll < 45)
                leftClickPlate();
            else if (roll < 55)
                rightButton();
            else if (roll < 62 && !rightHeld)
                clickKindButton();
            else if (roll < 69 && !rightHeld)
                pageTrackbar();
            else
                shortcutKey();
        }
        if (rightHeld) rightButton();
        while (expected.size() < until) hoverPlate();
    }

    void hoverPlate() {
        QPoint next;
        do {
            next = QPoint(static_cast<int>(60 + dice() % 341), static_cast<int>(60 + dice() % 341));
        } while ((next.x() - 230) * (next.x() - 230) + (next.y() - 230) * (next.y() - 230) > 170 * 170 ||
                 (where == Where::plate && next == at));
        QTest::mouseMove(plate, next);
        at = next;
        where = Where::plate;
        expected.push_back(plain(event::pointerMove));
    }

    void shortcutKey() {
        static constexpr char keys[] = "CSGLPR0123456789";
        const char key = keys[dice() % 16];
        std::int32_t number = 0;
        for (const ShortcutKey& s : programShortcuts)
            if (s.key == key) number = s.number;
        QTest::keyClick(window->windowHandle(), qtKey(key));
        expected.push_back(shortcut(number));
        expected.push_back(plain(event::keyUp));
    }

private:
    enum class Where { unknown, plate, kindButton, sliderLeft, sliderRight };

    void leftClickPlate() {
        if (where != Where::plate) hoverPlate();
        QTest::mouseClick(plate, Qt::LeftButton, {}, at);
        pressedAt.push_back(plate->mapTo(window, at));
        expected.push_back(plain(event::leftDown));
        expected.push_back(plain(event::leftUp));
    }

    void rightButton() {
        if (where != Where::plate) hoverPlate();
        if (rightHeld) {
            QTest::mouseRelease(plate, Qt::RightButton, {}, at);
            expected.push_back(plain(event::rightUp));
        } else {
            QTest::mousePress(plate, Qt::RightButton, {}, at);
            expected.push_back(plain(event::rightDown));
        }
        rightHeld = !rightHeld;
    }

    void clickKindButton() {
        const QPoint on(5, 5);
        if (where != Where::kindButton) {
            QTest::mouseMove(kindButton, on);
            where = Where::kindButton;
            expected.push_back(plain(event::pointerMove));
        }
        QTest::mouseClick(kindButton, Qt::LeftButton, {}, on);
        pressedAt.push_back(kindButton->mapTo(window, on));
        expected.push_back(plain(event::leftDown));
        expected.push_back(control(control::kindButton));
    }

    void pageTrackbar() {
        const bool up = sliderValue <= 32 && (sliderValue < 8 || dice() % 2 == 0);
        const Where end = up ? Where::sliderRight : Where::sliderLeft;
        const QPoint on = up ? sliderRight : sliderLeft;
        if (where != end) {
            QTest::mouseMove(slider, on);
            where = end;
            expected.push_back(plain(event::pointerMove));
        }
        QTest::mouseClick(slider, Qt::LeftButton, {}, on);
        sliderValue += up ? 8 : -8;
        expected.push_back(control(control::autoTrackbar));  // the page, on the press
        expected.push_back(control(control::autoTrackbar));  // the end of the move, on the release
    }

    QWidget* window;
    QWidget* plate;
    QWidget* kindButton;
    QSlider* slider;
    QPoint sliderLeft, sliderRight;
    std::minstd_rand dice{20240611};
    Where where = Where::unknown;
    QPoint at;
};

// The first place where two event sequences differ, or "".
std::string firstDifference(const std::vector<Polled>& got, const std::vector<Polled>& expected) {
    for (std::size_t i = 0; i < got.size() || i < expected.size(); ++i) {
        if (i < got.size() && i < expected.size() && got[i] == expected[i]) continue;
        std::ostringstream out;
        out << "event " << i << ": ";
        if (i < got.size())
            PrintTo(got[i], &out);
        else
            out << "nothing";
        out << " handed out, expected ";
        if (i < expected.size())
            PrintTo(expected[i], &out);
        else
            out << "nothing";
        out << " (" << got.size() << " handed out, " << expected.size() << " expected)";
        return out.str();
    }
    return {};
}

class EventStorm : public ProgramWindow {
protected:
    void SetUp() override {
        ProgramWindow::SetUp();
        if (HasFatalFailure()) return;
        recording = std::make_unique<RecordingDesktop>(*desktop);
        storm = std::make_unique<Storm>(window(), surface(), widget(control::kindButton),
                                        static_cast<QSlider*>(widget(control::autoTrackbar)));
    }

    struct Outcome {
        std::size_t passes = 0;        // passes run, the last one included
        bool ended = false;            // the last pass met the close request
        std::size_t eventPasses = 0;   // passes whose poll handed out an event
        int accepted = 0;              // left presses handled while running that placed a creature
        int refused = 0;               // left presses handled while running on a taken cell
    };

    // Runs passes until the loop ends, at most `limit`.  Before pass `lateAt` it
    // calls `late`.  Checks after every pass that the event the pass handled had the
    // program's effect on placement and the magnifier, and that the plate is
    // consistent.
    template <class Late>
    Outcome runStorm(std::size_t limit, std::size_t lateAt, Late late) {
        Outcome o;
        std::unordered_set<const Creature*> before;
        while (o.passes < limit && !o.ended) {
            if (o.passes == lateAt) late();
            const std::vector<Polled>& expected = storm->expected;
            const std::size_t handled = recording->handedOut.size();
            const Polled next = handled < expected.size() ? expected[handled] : Polled{};
            // Where the pass will find the pointer: the loop reads where the pointer
            // is now (offscreen, where the last mouse event queued was), which R
            // moves the magnifier to.  A left press places where it happened; every
            // left press that reaches the loop, a button's too, tries to place there.
            const CursorPosition c = recording->cursorPosition(0);
            const bool inside = c.x >= 0 && c.x <= c.clientWidth && c.y >= 0 && c.y <= c.clientHeight;
            std::int32_t mx = inside ? c.x : state->mouseX;
            std::int32_t my = inside ? c.y : state->mouseY;
            const bool pausedBefore = state->paused == 1;
            const bool press = next == plain(event::leftDown) && !pausedBefore;
            if (next == plain(event::leftDown)) {
                const QPoint pressed = storm->pressedAt.at(static_cast<std::size_t>(
                    std::count(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(handled),
                               plain(event::leftDown))));
                mx = pressed.x();
                my = pressed.y();
            }
            const bool accepted = press && static_cast<std::int16_t>(mx) < state->plateWidth &&
                                  cellOrOff(state->plateGrid, mx, my) != -1 && cellOrOff(state->creatureGrid, mx, my) == 0;
            const std::int16_t kind = state->placementKind == placeKind0 ? 0 : 1;
            before.clear();
            for (const Creature* cr = state->creatureList.front(); cr; cr = CreatureList::after(cr)) before.insert(cr);

            const std::size_t polls = recording->polls;
            o.ended = !runPass(*state, *recording);
            ++o.passes;
            EXPECT_EQ(recording->polls, polls + 1);
            if (recording->lastCode != event::none) ++o.eventPasses;
            const Polled handedOut = recording->lastCode == event::none ? Polled{} : recording->handedOut.back();
            if (handedOut != next) {
                ADD_FAILURE() << "pass " << o.passes << ": " << firstDifference(recording->handedOut, expected);
                break;
            }

            // A creature placed in a pass that ticked has been stepped once; a child
            // born in the tick is new too, but not stepped yet.  A paused pass (or a
            // press that found the run paused) runs no tick and makes no child.
            const bool ticked = !(next == plain(event::leftDown) && pausedBefore) && state->paused == 0;
            int placed = 0;
            for (const Creature* cr = state->creatureList.front(); cr; cr = CreatureList::after(cr))
                if (!before.count(cr) && (!ticked || cr->age == 1)) {
                    ++placed;
                    EXPECT_EQ(cr->kind, kind) << "pass " << o.passes;
                    EXPECT_LE(std::abs(cr->x - mx), 1);  // where it was placed, one step ago
                    EXPECT_LE(std::abs(cr->y - my), 1);
                }
            EXPECT_EQ(placed, accepted ? 1 : 0) << "pass " << o.passes;
            if (press) ++(accepted ? o.accepted : o.refused);
            if (next == shortcut(shortcut::moveMagnifier)) {
                EXPECT_EQ(state->magnifierX, std::clamp(mx, 24, 460 - 24));
                EXPECT_EQ(state->magnifierY, std::clamp(my, 20, 460 - 20));
            }
            EXPECT_TRUE(vivarix::testing::plateInvariantsHold(*state)) << "pass " << o.passes;
            EXPECT_EQ(test::listProblems(state->creatureList), "");
            if (::testing::Test::HasFailure()) break;
        }
        return o;
    }

    // The settings the storm's events leave, folded over the events in order.
    void expectSettingsAfter(const std::vector<Polled>& events) {
        std::int32_t kind = placeKind0, stats = 0, paused = 0, delay = 0, feeding = 0;
        for (const Polled& e : events) {
            if (e == control(control::kindButton)) kind = kind == placeKind0 ? placeKind1 : placeKind0;
            if (e == shortcut(shortcut::kind0)) kind = placeKind0;
            if (e == shortcut(shortcut::kind1)) kind = placeKind1;
            if (e == shortcut(shortcut::stats)) stats ^= 1;
            if (e == shortcut(shortcut::pause)) paused ^= 1;
            if (e.code == event::shortcut && e.number >= shortcut::delay0 && e.number <= shortcut::delay0 + 9)
                delay = e.number == shortcut::delay0 ? 0 : 1 << (e.number - shortcut::delay0 - 1);
            if (e == plain(event::rightDown)) feeding = 1;
            if (e == plain(event::rightUp)) feeding = 0;
        }
        EXPECT_EQ(state->placementKind, kind);
        EXPECT_EQ(state->colourStatsOn, stats);
        EXPECT_EQ(state->paused, paused);
        EXPECT_EQ(state->frameDelayMs, delay);
        EXPECT_EQ(state->feedingActive, feeding);
        EXPECT_EQ(desktop->getControlState(control::autoTrackbar), storm->sliderValue);
        EXPECT_EQ(state->autoFeedAmount, storm->sliderValue * trackbar::autoFeed.perStep);
        EXPECT_EQ(label(control::autoLabel), "Auto: " + std::to_string(state->autoFeedAmount));
    }

    std::unique_ptr<RecordingDesktop> recording;
    std::unique_ptr<Storm> storm;
};

TEST_F(EventStorm, TenThousandQueuedEventsAreHandledOnePerPassInOrder) {
    storm->rage(10000);
    ASSERT_EQ(storm->expected.size(), 10000u);
    // While the storm is being handled, more input and then a close request arrive:
    // they queue up behind it.
    const std::size_t lateAt = 3000;
    auto late = [&] {
        storm->shortcutKey();
        storm->hoverPlate();
        storm->shortcutKey();
        window()->close();
        storm->expected.push_back(plain(event::close));
    };
    const Outcome o = runStorm(20000, lateAt, late);
    ASSERT_FALSE(HasFailure());
    const std::vector<Polled>& expected = storm->expected;
    ASSERT_EQ(expected.size(), 10000u + 5 + 1);
    EXPECT_EQ(firstDifference(recording->handedOut, expected), "");
    EXPECT_TRUE(o.ended);
    EXPECT_EQ(o.passes, expected.size()) << "the loop did not end at the close request";
    EXPECT_EQ(o.eventPasses, recording->handedOut.size());
    expectSettingsAfter(expected);
    EXPECT_GT(o.accepted, 100) << "too few placements to tell";
    EXPECT_GT(o.refused, 10) << "too few presses on a taken cell to tell";
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(EventStorm, ACloseRequestQueuedBehindTheStormEndsTheLoopWhenReached) {
    storm->rage(600);
    window()->close();
    storm->expected.push_back(plain(event::close));
    const Outcome o = runStorm(2000, SIZE_MAX, [] {});
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(firstDifference(recording->handedOut, storm->expected), "");
    EXPECT_TRUE(o.ended);
    EXPECT_EQ(o.passes, 601u);
    EXPECT_EQ(o.eventPasses, 601u);
    expectSettingsAfter(storm->expected);
}

}  // namespace
}  // namespace vivarix::qttest
