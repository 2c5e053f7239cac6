#include "platform/qt/qt_desktop.h"

#include <QButtonGroup>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMimeData>
#include <QProgressDialog>
#include <QKeySequence>
#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QApplication>
#include <QFont>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/qt/application.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/frame_pacer.h"
#include "platform/qt/help_window.h"
#include "platform/qt/picture_widget.h"
#include "platform/qt/population_window.h"
#include "platform/qt/qt_desktop_testing.h"
#include "platform/qt/shortcut_keys.h"
#include "platform/qt/trackbar.h"

namespace vivarix {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The files a save dialog lists for a name with extension `suffix`.
QString fileTypes(const QString& suffix) {
    const QString all = QStringLiteral("All files (*)");
    if (suffix == QLatin1String("vxs")) return QStringLiteral("Vivarix sessions (*.vxs);;") + all;
    if (suffix == QLatin1String("csv")) return QStringLiteral("CSV tables (*.csv);;") + all;
    if (suffix == QLatin1String("png")) return QStringLiteral("PNG pictures (*.png);;") + all;
    return all;
}

// Trackbar positions are limited to this range.
constexpr std::int32_t trackbarLowest = 0;
constexpr std::int32_t trackbarHighest = 10000;

enum class Kind { panel, frame, text, trackbar, option, button, imageButton, imageView };

struct Control {
    Kind kind;
    QWidget* widget;  // owned by its parent widget
};

// The first local file among the URLs a drag carries; "" when there is none.
QString localFileOf(const QMimeData* data) {
    if (!data) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

// The program's window: it never closes by itself but reports every request to
// close, and takes local files dropped on it.
class MainWindow final : public QWidget {
public:
    MainWindow(std::function<void()> onCloseRequest, std::function<void(const QString&)> onDrop)
        : closeRequested(std::move(onCloseRequest)), dropped(std::move(onDrop)) {
        setAcceptDrops(true);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        closeRequested();
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (!localFileOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        const QString file = localFileOf(event->mimeData());
        if (file.isEmpty()) return;
        event->acceptProposedAction();
        dropped(file);
    }

private:
    std::function<void()> closeRequested;
    std::function<void(const QString&)> dropped;
};

// Hands every key press Qt dispatches, before its receiver sees it, to `take`, which
// returns true when it has dealt with the press.
class KeyPressFilter final : public QObject {
public:
    explicit KeyPressFilter(std::function<bool(QObject&, const QKeyEvent&)> take) : taken(std::move(take)) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        return event->type() == QEvent::KeyPress && taken(*receiver, static_cast<QKeyEvent&>(*event));
    }

private:
    std::function<bool(QObject&, const QKeyEvent&)> taken;
};

// Platforms without a real pointer keep QCursor::pos() where QCursor::setPos last
// put it, whatever the mouse events say.
bool cursorFollowsPointer() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

class QtDesktop final : public Desktop, private DispatchListener {
public:
    QtDesktop(Application& application, const Graphics& images)
        : app(application), graphics(images), pointerFromCursor(cursorFollowsPointer()), lastPointer(QCursor::pos()),
          keys([this](QObject& receiver, const QKeyEvent& press) { return takeShortcut(receiver, press); }) {
        app.addListener(this);
        app.installEventFilter(&keys);
    }

    ~QtDesktop() override {
        progress.reset();
        app.removeEventFilter(&keys);
        app.removeListener(this);
        controls.clear();
        delete population;
        delete window;
    }

    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    // --- window and surface ----------------------------------------------------

    bool renderSurfaceAvailable() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen && screen->depth() >= 16;
    }

    bool openWindow(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::string_view title) override {
        if (window || width < 1 || height < 1) return false;
        windowNumber = number;
        window = new MainWindow([this] { raise(DesktopEvent{event::close, -1}); },
                                [this](const QString& file) {
                                    raise(DesktopEvent{event::fileDropped, -1, false, 0, 0, QFile::encodeName(file).toStdString()});
                                });
        // A title bar with system menu, minimise and close boxes; no maximise box.
        window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        window->setFixedSize(width, height);
        // The controls' fixed pixel layout was drawn for a dialog font of 8 points;
        // the desktop's usual 9- or 10-point face would overflow the column.
        QFont font = QApplication::font();
        font.setFamily(QStringLiteral("Liberation Sans"));
        font.setPointSize(8);
        window->setFont(font);
        window->setWindowTitle(toQString(title));
        window->setWindowIcon(programIcon());
        window->move(x, y);  // a top-level widget's position is that of its frame
        window->show();
        // The window itself holds the keyboard focus until a control takes it.
        window->setFocus(Qt::OtherFocusReason);
        window->activateWindow();
        return true;
    }

    void setWindowTitle(std::int32_t number, std::string_view title) override {
        if (isOurWindow(number)) window->setWindowTitle(toQString(title));
    }

    bool openRenderSurface(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height) override {
        if (!isOurWindow(number) || surface || width < 1 || height < 1) return false;
        surface = new PictureWidget(width, height, window);
        surface->move(x, y);
        surface->show();
        return true;
    }

    void presentFrame(const Image& backBuffer, bool wait) override {
        if (wait && paced)
            pacer.wait();
        else
            pacer.mark();
        // The display's raster position cannot be queried through Qt on X11 or
        // Wayland, so there is no wait for the vertical blank: the picture goes to the
        // window system as soon as the frame limit allows.
        if (!surface || !window->isVisible() || window->isMinimized()) return;
        // A paused program presents the same frame again and again; the surface
        // keeps showing it (and repaints it when uncovered) without a copy.
        if (surface->holds(backBuffer)) return;
        surface->takeIn(backBuffer);
        surface->repaint();
    }

    // --- controls -----------------------------------------------------------------

    bool beginControls(std::int32_t number) override {
        if (!isOurWindow(number)) return false;
        parent = window;
        optionGroup = nullptr;
        return true;
    }

    void endControls() override {
        parent = nullptr;
        optionGroup = nullptr;
    }

    void createPanel(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override {
        if (!parent) return;
        auto* tabs = new QTabWidget(parent);
        // Tabs as compact as a dialog's, so that all of them fit the narrow panel
        // without scroll arrows.
        tabs->setUsesScrollButtons(false);
        tabs->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
        add(number, Kind::panel, tabs, x, y, w, h);
    }

    void addPanelTab(std::int32_t panel, std::string_view caption) override {
        if (!parent) return;
        const auto found = controls.find(panel);
        if (found == controls.end() || found->second.kind != Kind::panel) return;
        auto* page = new QWidget;
        static_cast<QTabWidget*>(found->second.widget)->addTab(page, toQString(caption));
        parent = page;
        optionGroup = nullptr;
    }

    void createFrame(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::string_view caption) override {
        if (!parent) return;
        // Nothing refers to an automatically numbered frame: it is not looked up.
        add(number, Kind::frame, new QGroupBox(toQString(caption), parent), x, y, w, h);
    }

    void createText(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    std::string_view text) override {
        if (!parent) return;
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setText(toQString(text));
        add(number, Kind::text, label, x, y, w, h);
    }

    void createTrackbar(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                        std::int32_t minimum, std::int32_t maximum, std::int32_t flags) override {
        if (!parent) return;
        auto* slider = new Trackbar([this, number] { raise(DesktopEvent{event::control, number}); }, parent);
        const std::int32_t low = std::clamp(minimum, trackbarLowest, trackbarHighest);
        const std::int32_t high = std::clamp(maximum, low, trackbarHighest);
        slider->setRange(low, high);
        // A page is a fifth of the range, as on the classic trackbar.
        slider->setPageStep(std::max(1, (high - low) / 5));
        if (flags & trackbarTicks) {
            slider->setTickPosition(QSlider::TicksBelow);
            slider->setTickInterval(1);
        }
        QObject::connect(slider, &QAbstractSlider::actionTriggered, slider,
                         [this, number] { raise(DesktopEvent{event::control, number}); });
        add(number, Kind::trackbar, slider, x, y, w, h);
    }

    void createOption(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::string_view caption) override {
        if (!parent) return;
        auto* option = new QRadioButton(toQString(caption), parent);
        // Options created one after another form one group (other options on the
        // same page do not): an explicit group instead of Qt's per-parent one.
        option->setAutoExclusive(false);
        QButtonGroup* group = optionGroup ? optionGroup : new QButtonGroup(window);
        group->addButton(option);
        connectClicked(option, number);
        // The layout was drawn for a narrower indicator: an option grows to show
        // its whole caption rather than cut its last letters.
        add(number, Kind::option, option, x, y, std::max(w, option->sizeHint().width()), h);
        optionGroup = group;  // after add(), which ends the current group
    }

    void createButton(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      std::string_view caption) override {
        if (!parent) return;
        auto* button = new QPushButton(toQString(caption), parent);
        button->setAutoDefault(false);
        connectClicked(button, number);
        add(number, Kind::button, button, x, y, w, h);
    }

    void createImageButton(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                           ImageHandle image) override {
        if (!parent) return;
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        showOnButton(button, image);
        connectClicked(button, number);
        add(number, Kind::imageButton, button, x, y, w, h);
    }

    void createImageView(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                         ImageHandle image) override {
        if (!parent) return;
        auto* view = new PictureWidget(0, 0, parent);
        view->showImage(imageOf(graphics, image));
        // The view takes its image's size, whatever size was asked for.
        add(number, Kind::imageView, view, x, y, view->width(), view->height());
    }

    void disableControl(std::int32_t number, std::int32_t flag) override {
        if (QWidget* widget = widgetOf(number)) widget->setEnabled(flag == 0);
    }

    void setControlTooltip(std::int32_t number, std::string_view text) override {
        if (QWidget* widget = widgetOf(number)) widget->setToolTip(toQString(text));
    }

    std::int32_t getControlState(std::int32_t number) const override {
        const auto found = controls.find(number);
        if (found == controls.end()) return 0;
        switch (found->second.kind) {
        case Kind::trackbar:
            return static_cast<QSlider*>(found->second.widget)->value();
        case Kind::option:
            return static_cast<QRadioButton*>(found->second.widget)->isChecked() ? 1 : 0;
        default:
            return 0;
        }
    }

    void setControlState(std::int32_t number, std::int32_t value) override {
        const auto found = controls.find(number);
        if (found == controls.end()) return;
        QWidget* widget = found->second.widget;
        switch (found->second.kind) {
        case Kind::trackbar:
            // setValue moves the knob without a user action: no event.
            static_cast<QSlider*>(widget)->setValue(value);
            break;
        case Kind::option:
            setOption(static_cast<QRadioButton*>(widget), value != 0);
            break;
        case Kind::imageButton:
            showOnButton(static_cast<QPushButton*>(widget), value);
            break;
        case Kind::imageView:
            static_cast<PictureWidget*>(widget)->showImage(imageOf(graphics, value));
            break;
        default:
            break;
        }
    }

    void setControlText(std::int32_t number, std::string_view text) override {
        const auto found = controls.find(number);
        if (found == controls.end()) return;
        QWidget* widget = found->second.widget;
        switch (found->second.kind) {
        case Kind::text:
            static_cast<QLabel*>(widget)->setText(toQString(text));
            break;
        case Kind::button:
        case Kind::option:
            static_cast<QAbstractButton*>(widget)->setText(toQString(text));
            break;
        case Kind::frame:
            static_cast<QGroupBox*>(widget)->setTitle(toQString(text));
            break;
        default:
            break;
        }
    }

    // --- message boxes ------------------------------------------------------------

    void messageBox(std::string_view title, std::string_view text) override {
        QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok, window);
        runModal(box);
    }

    // --- help, files and tips ----------------------------------------------------------

    void showHelp() override {
        if (!window) return;
        if (!help) help = createHelpWindow(window);
        help->show();
        help->raise();
        help->activateWindow();
    }

    std::string askSaveFileName(std::string_view title, std::string_view suggestedName) override {
        const QString name = toQString(suggestedName);
        const QString suffix = QFileInfo(name).suffix();
        // Over the population window when it asked, else over the program's window.
        QWidget* over = window;
        if (population && population->isActiveWindow()) over = population;
        // Qt's own dialog on every platform: the same in tests as for the user.
        QFileDialog dialog(over, toQString(title), QDir::home().filePath(name), fileTypes(suffix));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setDefaultSuffix(suffix);
        if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
        return dialog.selectedFiles().front().toStdString();
    }

    std::string askOpenFileName(std::string_view title) override {
        QFileDialog dialog(window, toQString(title), QDir::homePath(),
                           QStringLiteral("Vivarix sessions (*.vxs);;All files (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
        return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    }

    std::string droppedFile() const override { return last.code == event::fileDropped ? last.file : std::string(); }

    std::optional<std::uint64_t> askTick(std::string_view title, std::string_view label, std::uint64_t value,
                                         std::uint64_t highest) override {
        // The spin box counts in int: a longer recording is offered up to INT_MAX.
        const int top = static_cast<int>(std::min<std::uint64_t>(highest, INT_MAX));
        QInputDialog dialog(window);
        dialog.setWindowTitle(toQString(title));
        dialog.setLabelText(toQString(label));
        dialog.setInputMode(QInputDialog::IntInput);
        dialog.setIntRange(0, top);
        dialog.setIntValue(static_cast<int>(std::min<std::uint64_t>(value, static_cast<std::uint64_t>(top))));
        if (runModal(dialog) != QDialog::Accepted) return std::nullopt;
        return static_cast<std::uint64_t>(dialog.intValue());
    }

    void beginProgress(std::string_view title) override {
        progressBlock.emplace(events);
        progress = std::make_unique<QProgressDialog>(window);
        progress->setWindowTitle(toQString(title));
        progress->setWindowModality(Qt::WindowModal);
        progress->setRange(0, 1000);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        // Shown by showProgress after half a second, never by Qt's own estimate.
        progress->setMinimumDuration(INT_MAX);
        progressClock.start();
    }

    bool showProgress(std::string_view text, std::int32_t permille) override {
        if (!progress) return true;
        progress->setLabelText(toQString(text));
        progress->setValue(std::clamp(permille, 0, 1000));
        if (!progress->isVisible() && progressClock.elapsed() >= progressDelayMs) progress->show();
        app.processEvents(QEventLoop::AllEvents);
        return !progress->wasCanceled();
    }

    void endProgress() override {
        if (!progress) return;
        progress.reset();
        progressBlock.reset();
        if (window) window->activateWindow();
    }

    void setSurfaceTips(std::vector<SurfaceTip> tips) override {
        if (surface) surface->setTips(std::move(tips));
    }

    // --- shortcuts, events and the pointer ----------------------------------------

    void addShortcut(std::int32_t number, char key, std::int32_t shortcut) override {
        if (!isOurWindow(number)) return;
        if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
        if ((key < 'A' || key > 'Z') && (key < '0' || key > '9')) return;
        // A key registered again takes the new shortcut number.
        shortcuts[key] = shortcut;
    }

    void addKeyShortcut(std::int32_t number, std::string_view keys, std::int32_t shortcut) override {
        if (!isOurWindow(number)) return;
        const QKeySequence sequence(toQString(keys), QKeySequence::PortableText);
        if (sequence.count() == 1) keyShortcuts.insert_or_assign(sequence[0], shortcut);
    }

    std::int32_t pollEvent() override {
        // Qt's own loop runs in every call, without waiting, so that the window keeps
        // painting, timers keep running and new input joins the queue even while a
        // backlog is handed out one event per call; new events go behind the older
        // ones, so the order is kept.
        app.processEvents(QEventLoop::AllEvents);
        last = events.pop();
        return last.code;
    }

    std::int32_t eventControl() const override { return last.code == event::control ? last.number : -1; }
    std::int32_t eventShortcut() const override { return last.code == event::shortcut ? last.number : -1; }

    CursorPosition cursorPosition(std::int32_t number) const override {
        if (!isOurWindow(number)) return CursorPosition{};
        const QPoint client = window->mapFromGlobal(pointerFromCursor ? QCursor::pos() : lastPointer);
        return CursorPosition{client.x(), client.y(), window->width(), window->height()};
    }

    CursorPosition eventPosition() const override {
        if (!last.positioned || !window) return cursorPosition(windowNumber);
        return CursorPosition{last.x, last.y, window->width(), window->height()};
    }

    // --- the population window ----------------------------------------------------

    void showPopulationWindow(bool open) override {
        if (!open) {
            if (population) population->hide();
            return;
        }
        if (!population) {
            population = new PopulationWindow(PopulationWindow::Desk{
                [this](std::string_view title, std::string_view name) { return askSaveFileName(title, name); },
                [this](std::string_view text) { messageBox("Vivarix", text); },
                [this] { raise(DesktopEvent{event::populationData, -1}); }});
            placeBesideWindow(*population);
        }
        population->setWindowState(population->windowState() & ~Qt::WindowMinimized);
        population->show();
        population->raise();
    }

    // A minimised window is not worth drawing either.
    bool populationWindowOpen() const override {
        return population && population->isVisible() && !population->isMinimized();
    }

    std::int32_t populationPlotWidth() const override { return populationWindowOpen() ? population->plotWidth() : 0; }

    std::optional<ChartZoom> populationZoom() const override {
        return population ? population->zoom() : std::nullopt;
    }

    void showPopulation(const PopulationChart& chart) override {
        if (populationWindowOpen()) population->showChart(chart);
    }

    // --- test access --------------------------------------------------------------

    QWidget* windowWidget() const { return window; }
    void stopPacing() { paced = false; }
    QWidget* surfaceWidget() const { return surface; }
    QWidget* populationWidget() const { return population; }
    QWidget* widgetOf(std::int32_t number) const {
        const auto found = controls.find(number);
        return found == controls.end() ? nullptr : found->second.widget;
    }

private:
    bool isOurWindow(std::int32_t number) const { return window && number == windowNumber; }

    void raise(DesktopEvent raised) { events.raise(raised, app.dispatching()); }

    // Whether `receiver` is our window or one of its widgets.
    bool inOurWindow(QObject& receiver) const {
        if (!window) return false;
        const auto* widget = qobject_cast<QWidget*>(&receiver);
        return &receiver == window->windowHandle() || (widget && widget->window() == window);
    }

    // Whether `receiver` is the population window or one of its widgets.
    bool inPopulationWindow(QObject& receiver) const {
        if (!population) return false;
        const auto* widget = qobject_cast<QWidget*>(&receiver);
        return &receiver == population->windowHandle() || (widget && widget->window() == population);
    }

    // To the right of the program's window when the screen has room for it there.
    void placeBesideWindow(QWidget& beside) const {
        if (!window || !window->screen()) return;
        const QRect free = window->screen()->availableGeometry();
        const QPoint at(window->frameGeometry().right() + 10, window->frameGeometry().top());
        if (free.contains(QRect(at, beside.size()))) beside.move(at);
    }

    // A key press in our window or the population window that is a shortcut key
    // raises the shortcut and goes no further, whichever widget has the focus.
    // (Keys reach a window only while it is the active one: a modal message box
    // takes them for itself.)
    bool takeShortcut(QObject& receiver, const QKeyEvent& press) {
        if (!inOurWindow(receiver) && !inPopulationWindow(receiver)) return false;
        std::int32_t shortcut = -1;
        if (const auto plain = shortcuts.find(shortcutKey(press)); plain != shortcuts.end()) shortcut = plain->second;
        const QKeyCombination combination(press.modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(press.key()));
        if (const auto keys = keyShortcuts.find(combination); keys != keyShortcuts.end() && !movesSlider(press))
            shortcut = keys->second;
        if (shortcut == -1) return false;
        raise(DesktopEvent{event::shortcut, shortcut});
        return true;
    }

    // Whether the press is a key a trackbar with the focus moves by (Home, End, the
    // arrows, Page Up and Down): it stays the trackbar's.  (The window sees the
    // press before the focused widget does.)
    static bool movesSlider(const QKeyEvent& press) {
        if (!qobject_cast<QAbstractSlider*>(QApplication::focusWidget()) || press.modifiers() & ~Qt::KeypadModifier)
            return false;
        switch (press.key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            return false;
        }
    }

    // Runs a modal dialog of the program's window.  Nothing is queued while it is
    // open, and afterwards the keys go to the program's window again (window
    // managers usually do this themselves; offscreen and bare X servers do not).
    // Runs a dialog, then gives the activation back to the window it belongs to.
    int runModal(QDialog& dialog) {
        const int result = [&] {
            const EventBlock blocked(events);
            return dialog.exec();
        }();
        if (QWidget* owner = dialog.parentWidget()) owner->window()->activateWindow();
        return result;
    }

    void dispatched(QObject* inputReceiver, QEvent* event) override {
        events.endDispatch(inputReceiver ? inputEvent(*inputReceiver, *event) : DesktopEvent{});
    }

    // The input event sent to our window (code 0 for anything else), a mouse
    // button event with where it happened; notes where the pointer is on the way.
    // Qt delivers the second press of a double click as a press followed by a
    // double-click event: the press counts, the double-click event does not.
    DesktopEvent inputEvent(QObject& receiver, QEvent& qevent) {
        if (!inOurWindow(receiver)) return {};
        switch (qevent.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            const auto& mouse = static_cast<QMouseEvent&>(qevent);
            lastPointer = mouse.globalPosition().toPoint();
            const bool press = qevent.type() == QEvent::MouseButtonPress;
            if (qevent.type() == QEvent::MouseMove) return {event::pointerMove};
            const QPoint client = window->mapFromGlobal(lastPointer);
            const auto button = [&](std::int32_t code) { return DesktopEvent{code, -1, true, client.x(), client.y()}; };
            if (mouse.button() == Qt::LeftButton) return button(press ? event::leftDown : event::leftUp);
            if (mouse.button() == Qt::RightButton) return button(press ? event::rightDown : event::rightUp);
            if (mouse.button() == Qt::MiddleButton) return button(press ? event::middleDown : event::middleUp);
            return {};
        }
        case QEvent::KeyPress:
            return {event::keyDown};
        case QEvent::KeyRelease:
            // Auto-repeat is a run of presses; only the last release is a release.
            return {static_cast<QKeyEvent&>(qevent).isAutoRepeat() ? 0 : event::keyUp};
        default:
            return {};
        }
    }

    // Registers a created control under its number (a later control with the same
    // number takes it over) and shows it.
    void add(std::int32_t number, Kind kind, QWidget* widget, std::int32_t x, std::int32_t y, std::int32_t w,
             std::int32_t h) {
        widget->setGeometry(x, y, std::max(0, w), std::max(0, h));
        widget->show();
        if (number != -1) controls.insert_or_assign(number, Control{kind, widget});
        optionGroup = nullptr;
    }

    void connectClicked(QAbstractButton* button, std::int32_t number) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this, number] { raise(DesktopEvent{event::control, number}); });
    }

    void showOnButton(QPushButton* button, ImageHandle handle) {
        const Image* image = imageOf(graphics, handle);
        if (!image || !imageExists(*image)) {
            button->setIcon(QIcon());
            return;
        }
        button->setIcon(QIcon(QPixmap::fromImage(toQImage(*image))));
        button->setIconSize(QSize(image->width, image->height));
    }

    // Selecting an option clears the others of its group; clearing one leaves the
    // group with none selected.
    static void setOption(QRadioButton* option, bool selected) {
        QButtonGroup* group = option->group();
        if (selected || !group) {
            option->setChecked(selected);
            return;
        }
        // An exclusive group refuses to clear its selected button.
        group->setExclusive(false);
        option->setChecked(false);
        group->setExclusive(true);
    }

    Application& app;
    const Graphics& graphics;
    const bool pointerFromCursor;
    QPoint lastPointer;  // global; where the last mouse event in our window was

    std::int32_t windowNumber = -1;
    MainWindow* window = nullptr;  // owns every widget below; deleted with the desktop
    PictureWidget* surface = nullptr;
    PopulationWindow* population = nullptr;  // made when first opened; deleted with the desktop
    FramePacer pacer;
    bool paced = true;  // presents that ask to wait do wait (tests may turn it off)

    QWidget* parent = nullptr;              // where controls go; nullptr outside begin/endControls
    QButtonGroup* optionGroup = nullptr;    // the group of the option created last, if nothing came since
    std::map<std::int32_t, Control> controls;
    std::map<char, std::int32_t> shortcuts;  // shortcut number by key ('A' .. 'Z', '0' .. '9')
    // Shortcut number by function key or Ctrl combination.
    std::map<QKeyCombination, std::int32_t, bool (*)(QKeyCombination, QKeyCombination)> keyShortcuts{
        [](QKeyCombination a, QKeyCombination b) { return a.toCombined() < b.toCombined(); }};
    QTextBrowser* help = nullptr;  // made on first use; the window owns it
    static constexpr qint64 progressDelayMs = 500;
    std::unique_ptr<QProgressDialog> progress;  // between beginProgress and endProgress
    std::optional<EventBlock> progressBlock;    // nothing is queued while it shows
    QElapsedTimer progressClock;
    KeyPressFilter keys;

    EventQueue events;
    DesktopEvent last;
};

QtDesktop* qtDesktop(Desktop& desktop) { return dynamic_cast<QtDesktop*>(&desktop); }

}  // namespace

std::unique_ptr<Desktop> startQtDesktop(int& argc, char** argv, const Graphics& graphics) {
    return std::make_unique<QtDesktop>(startApplication(argc, argv), graphics);
}

QWidget* windowWidget(Desktop& desktop) {
    QtDesktop* qt = qtDesktop(desktop);
    return qt ? qt->windowWidget() : nullptr;
}

QWidget* controlWidget(Desktop& desktop, std::int32_t number) {
    QtDesktop* qt = qtDesktop(desktop);
    return qt ? qt->widgetOf(number) : nullptr;
}

QWidget* populationWindowWidget(Desktop& desktop) {
    QtDesktop* qt = qtDesktop(desktop);
    return qt ? qt->populationWidget() : nullptr;
}

QWidget* surfaceWidget(Desktop& desktop) {
    QtDesktop* qt = qtDesktop(desktop);
    return qt ? qt->surfaceWidget() : nullptr;
}

void presentWithoutWaiting(Desktop& desktop) {
    if (QtDesktop* qt = qtDesktop(desktop)) qt->stopPacing();
}

}  // namespace vivarix
