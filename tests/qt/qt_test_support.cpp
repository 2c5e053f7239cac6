#include "qt_test_support.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTest>

#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_desktop_testing.h"
#include "session/control_table.h"

namespace vivarix::qttest {

namespace {

int storedArgc = 1;
char programName[] = "vivarix-qt-tests";
char* storedArgv[] = {programName, nullptr};

}  // namespace

std::unique_ptr<Desktop> newDesktop(const Graphics& graphics) {
    return startQtDesktop(storedArgc, storedArgv, graphics);
}

void PrintTo(const Polled& polled, std::ostream* out) {
    *out << polled.code;
    if (polled.number != -1) *out << '(' << polled.number << ')';
}

SaveDialogAnswer::SaveDialogAnswer(const std::string& path) {
    QObject::connect(&timer, &QTimer::timeout, [this, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer.stop();
        offeredName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        answerFileDialog(*dialog, path);
    });
    timer.start(10);
}

void answerFileDialog(QFileDialog& dialog, const std::string& path) {
    // selectFile leaves the name field alone while it has the focus, which it gets
    // once the dialog is active: take the focus away first.
    if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
    dialog.selectFile(QString::fromStdString(path));
    static_cast<QDialog&>(dialog).accept();
}

Polled control(std::int32_t number) { return Polled{event::control, number}; }
Polled shortcut(std::int32_t number) { return Polled{event::shortcut, number}; }
Polled plain(std::int32_t code) { return Polled{code, -1}; }

std::vector<Polled> pollAll(Desktop& desktop) {
    std::vector<Polled> events;
    for (;;) {
        const std::int32_t code = desktop.pollEvent();
        if (code == event::none) return events;
        const std::int32_t number =
            code == event::control ? desktop.eventControl() : code == event::shortcut ? desktop.eventShortcut() : -1;
        events.push_back(Polled{code, number});
    }
}

std::vector<Polled> withoutMotion(const std::vector<Polled>& events) {
    std::vector<Polled> kept;
    for (const Polled& e : events)
        if (e.code != event::pointerMove) kept.push_back(e);
    return kept;
}

void ProgramWindow::SetUp() {
    state = std::make_unique<AppState>();
    desktop = newDesktop(state->graphics);
    text = createQtTextRenderer();
    ASSERT_TRUE(startUp(*state, *desktop, *text, 20261207));
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    eventsWhileStarting = pollAll(*desktop);
}

void ProgramWindow::TearDown() { state->graphics.text = nullptr; }

QWidget* ProgramWindow::window() const { return windowWidget(*desktop); }
QWidget* ProgramWindow::surface() const { return surfaceWidget(*desktop); }
QWidget* ProgramWindow::widget(std::int32_t number) const { return controlWidget(*desktop, number); }

std::string ProgramWindow::label(std::int32_t number) const {
    return static_cast<QLabel*>(widget(number))->text().toStdString();
}

void ProgramWindow::showTab(int index) const {
    static_cast<QTabWidget*>(widget(control::tabPanel))->setCurrentIndex(index);
    pollAll(*desktop);
}

void ProgramWindow::passes(int n) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(runPass(*state, *desktop)) << "pass " << i;
}

QRect handleRect(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.subControls = QStyle::SC_All;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

const ShortcutKey programShortcuts[16] = {
    {'C', shortcut::kind0},       {'S', shortcut::kind1},       {'G', shortcut::stats},
    {'L', shortcut::magnifier},   {'P', shortcut::pause},       {'R', shortcut::moveMagnifier},
    {'0', shortcut::delay0},      {'1', shortcut::delay0 + 1},  {'2', shortcut::delay0 + 2},
    {'3', shortcut::delay0 + 3},  {'4', shortcut::delay0 + 4},  {'5', shortcut::delay0 + 5},
    {'6', shortcut::delay0 + 6},  {'7', shortcut::delay0 + 7},  {'8', shortcut::delay0 + 8},
    {'9', shortcut::delay0 + 9}};

Qt::Key qtKey(char key) {
    return static_cast<Qt::Key>(key >= '0' && key <= '9' ? Qt::Key_0 + (key - '0') : Qt::Key_A + (key - 'A'));
}

void typeNative(QWindow* window, const NativeKey& key) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key.key, key.modifiers, key.scanCode, key.keysym, key.nativeModifiers,
                        QString::fromUtf8(key.text));
        QCoreApplication::sendEvent(window, &event);
    }
}

}  // namespace vivarix::qttest
