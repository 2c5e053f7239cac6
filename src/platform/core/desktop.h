// The desktop the program runs on: one window with numbered controls, keyboard
// shortcuts, one event at a time, the pointer, and the rendering surface; beside
// it the population window, which only shows what it is given.
//
// The program's logic (start-up, control panel, main loop) works only through this
// interface.  Two platform layers implement it: src/platform/qt with Qt Widgets for
// the desktop, src/platform/web in a web page (canvas, HTML controls, the browser's
// events); each header there says how its platform maps the contracts below.
// Windows, controls, shortcuts and images are named by small numbers the program
// chooses.  Calls naming a window, control or panel that does not exist do nothing
// (getters return 0 or -1 as stated).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/controls.h"
#include "platform/core/graphics.h"
#include "platform/core/message_box.h"
#include "platform/core/population_chart.h"

namespace vivarix {

// Codes returned by Desktop::pollEvent.
namespace event {
inline constexpr std::int32_t none = 0;           // nothing pending
inline constexpr std::int32_t close = 16;         // the user asked to close the window
inline constexpr std::int32_t keyDown = 256;      // a key that is no shortcut
inline constexpr std::int32_t keyUp = 257;
inline constexpr std::int32_t pointerMove = 512;
inline constexpr std::int32_t leftDown = 513;
inline constexpr std::int32_t leftUp = 514;
inline constexpr std::int32_t rightDown = 516;
inline constexpr std::int32_t rightUp = 517;
inline constexpr std::int32_t middleDown = 519;
inline constexpr std::int32_t middleUp = 520;
inline constexpr std::int32_t fileDropped = 563;  // droppedFile() tells which file
inline constexpr std::int32_t control = 13100;    // eventControl() tells which control
inline constexpr std::int32_t shortcut = 13101;   // eventShortcut() tells which shortcut
// "Save data..." was chosen in the population window: the program asks where
// (askSaveFileName) and saves its population history there.
inline constexpr std::int32_t populationData = 13102;
}  // namespace event

// Trackbar creation flag: a tick mark at every position.
inline constexpr std::int32_t trackbarTicks = 1;

struct CursorPosition {
    std::int32_t x = 0;  // pointer in the window's client coordinates; may lie outside
    std::int32_t y = 0;
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
};

class Desktop : public Controls, public MessageBoxes {
public:
    // --- window and surface ----------------------------------------------------

    // Whether a rendering surface can be made on this display.
    virtual bool renderSurfaceAvailable() = 0;

    // Opens window `number` with a client area of exactly width by height, a title
    // bar with close and minimise boxes, no maximise box, not resizable, its outer
    // top-left corner at (x, y) of the screen.
    virtual bool openWindow(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, std::string_view title) = 0;
    // Replaces the title of window `window`.
    virtual void setWindowTitle(std::int32_t window, std::string_view title) = 0;

    // The surface: width by height pixels at (x, y) of the window's client area;
    // the rest of the client area is left to the controls.  One surface a window;
    // false for a second one, a bad size or no such window.
    virtual bool openRenderSurface(std::int32_t window, std::int32_t x, std::int32_t y, std::int32_t width,
                                   std::int32_t height) = 0;

    // Shows `backBuffer` (colour values, see graphics.h) on the surface, synchronously.
    // With `wait`, first waits until at least 1/61 s has passed since the previous
    // present ended its wait, which caps the caller at 61 presents a second.  (A
    // page cannot wait: it runs at most 61 passes a second instead.)
    virtual void presentFrame(const Image& backBuffer, bool wait) = 0;

    // --- controls ---------------------------------------------------------------
    // Positions are client coordinates, or page coordinates for controls created
    // after addPanelTab.  Values set while building raise no event.

    // Starts creating controls on `window`; false (create nothing) when there is no
    // such window.  The create calls below do nothing outside begin/endControls.
    virtual bool beginControls(std::int32_t window) = 0;
    // Ends creating controls; the controls stay and keep working.
    virtual void endControls() = 0;
    // A tabbed panel, empty until addPanelTab gives it pages; the first tab shows.
    virtual void createPanel(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) = 0;
    // Appends a tab; the controls created next belong to its page.
    virtual void addPanelTab(std::int32_t panel, std::string_view caption) = 0;
    // A framed group box; number -1 asks for an automatic number.
    virtual void createFrame(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                             std::string_view caption) = 0;
    // A label: plain text, top-left aligned, wrapped at the width.
    virtual void createText(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                            std::string_view text) = 0;
    // A horizontal slider over minimum .. maximum in steps of 1 (flags: trackbarTicks).
    // The user's moves raise its control event at every step and once more at the
    // end of the move; setControlState raises none.
    virtual void createTrackbar(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                                std::int32_t minimum, std::int32_t maximum, std::int32_t flags) = 0;
    // Option buttons created one after another form one group.
    virtual void createOption(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                              std::string_view caption) = 0;
    // A push button with a caption, and one showing an image (a handle; 0 shows
    // none).  A click raises the button's control event; so does a click on an
    // option button.
    virtual void createButton(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                              std::string_view caption) = 0;
    virtual void createImageButton(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                                   std::int32_t h, ImageHandle image) = 0;
    // Shows the image at its own size; setControlState with a handle shows it anew.
    virtual void createImageView(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                                 ImageHandle image) = 0;
    // 1 greys the control out and makes it ignore the user; 0 enables it.
    virtual void disableControl(std::int32_t number, std::int32_t flag) = 0;
    // The help text shown when the pointer rests on the control.
    virtual void setControlTooltip(std::int32_t number, std::string_view text) = 0;

    // --- shortcuts, events and the pointer ----------------------------------------

    // `key` is an upper-case letter or a digit of the main keyboard row, pressed
    // without modifiers while the window is active: a letter is the letter on the
    // key, a digit the key's place on the row whatever the layout writes there.
    virtual void addShortcut(std::int32_t window, char key, std::int32_t shortcut) = 0;

    // A key of a command beside the plain shortcuts, which cannot collide with
    // them: a function key ("F1"), a named key ("End") or a letter with Ctrl
    // ("Ctrl+S", the letter on the key).  Pressed while the window is active it
    // raises `shortcut` like them, whichever control has the focus; only a key a
    // focused trackbar moves by (End, Home, the arrows, Page Up and Down) stays the
    // trackbar's.
    virtual void addKeyShortcut(std::int32_t window, std::string_view keys, std::int32_t shortcut) = 0;

    // --- help, files and tips ----------------------------------------------------------

    // Opens the help window (the desktop keeps its text), or brings it to the
    // front; it stays open beside the program's window until the user closes it.
    virtual void showHelp() = 0;

    // Asks the user, in a modal dialog, where to save a file; `suggestedName` is
    // offered in the user's home folder, and its extension (".vxs", ".csv", ".png")
    // chooses the files the dialog lists and is added to a name typed without one.
    // Returns the chosen path, "" when the user cancels.  No event is queued while
    // the dialog is open.  (A page's saves are downloads named `suggestedName`: it
    // returns at once with a path whose file goes to the browser once written.)
    virtual std::string askSaveFileName(std::string_view title, std::string_view suggestedName) = 0;

    // Replaces the tips shown when the pointer rests over areas of the rendering
    // surface (surface coordinates); where areas overlap the first one listed wins.
    struct SurfaceTip {
        std::int32_t x = 0, y = 0, width = 0, height = 0;
        std::string text;
    };
    virtual void setSurfaceTips(std::vector<SurfaceTip> tips) = 0;

    // The code of at most one event, without waiting (see namespace event).  A
    // mouse press or release whose own dispatch raised a control, shortcut or close
    // event is reported as that event instead.
    virtual std::int32_t pollEvent() = 0;
    // The control of the event the last poll returned when it was event::control,
    // the shortcut number when it was event::shortcut; else -1.
    virtual std::int32_t eventControl() const = 0;
    virtual std::int32_t eventShortcut() const = 0;

    // Where the pointer is now (not where it was at the polled event: see
    // eventPosition), in the client coordinates of `window`, with the size of its
    // client area; all zero for a window that does not exist.
    virtual CursorPosition cursorPosition(std::int32_t window) const = 0;

    // For a mouse button event that pollEvent handed out last: where the pointer was
    // when the button went down or up, in the client coordinates of window 0, however
    // far the pointer has moved since.  For any other event: cursorPosition(0).
    virtual CursorPosition eventPosition() const = 0;

    // --- opening sessions, going to a tick --------------------------------------------
    // A desktop without these dialogs keeps the defaults: nothing is ever chosen,
    // dropped or cancelled.

    // Asks the user, in a modal dialog that lists the session files (*.vxs) and
    // can list all files, which existing file to open, starting in the user's home
    // folder.  Returns its path, "" when the user cancels.  No event is queued while
    // the dialog is open.
    virtual std::string askOpenFileName(std::string_view /*title*/) { return {}; }

    // For the event::fileDropped that pollEvent handed out last: the local path of
    // the file dropped on window 0 (the first, when several came together); "" after
    // any other event.  Only local files can be dropped.
    virtual std::string droppedFile() const { return {}; }

    // Asks for a tick from 0 to `highest` in a modal dialog that offers `value`.
    // Returns the tick, none when the user cancels.  No event is queued while the
    // dialog is open.
    virtual std::optional<std::uint64_t> askTick(std::string_view /*title*/, std::string_view /*label*/,
                                                 std::uint64_t /*value*/, std::uint64_t /*highest*/) {
        return std::nullopt;
    }

    // Long work the user may cancel: beginProgress before it, showProgress as it
    // goes, endProgress after it; no event is queued in between.  Once the work has
    // run for half a second (never before) a modal dialog shows `title`, the text,
    // a bar and a Cancel button, until endProgress.
    virtual void beginProgress(std::string_view /*title*/) {}
    // Shows `text` and the bar at `permille` (0 to 1000), repaints the dialog and
    // takes what the user did meanwhile.  The work calls it at least 4 times a
    // second and so sets how often the dialog repaints and how soon a Cancel is
    // seen.  Returns false once the user has cancelled.
    virtual bool showProgress(std::string_view /*text*/, std::int32_t /*permille*/) { return true; }
    virtual void endProgress() {}

    // --- the population window ----------------------------------------------------
    // A separate, resizable top-level window with the population chart.  It opens
    // at a default size and place, remembers nothing between runs, and goes with the
    // desktop.  The user may close it with its close box, which raises no event;
    // keys pressed in it are the program's shortcuts as in window 0.  A desktop
    // without such a window keeps the defaults: it never opens, and a chart shown to
    // it is dropped.
    //
    // The window itself saves a picture of the chart (its menu's "Save picture...",
    // a PNG), zooms into the ticks the user marks with the mouse, and shows the whole
    // chart again from its menu; its "Save data..." raises event::populationData.

    // Opens (true) or closes (false) the population window.  Opening it again shows
    // the chart it showed last.
    virtual void showPopulationWindow(bool /*open*/) {}
    // Whether the population window is open (and so worth drawing).
    virtual bool populationWindowOpen() const { return false; }
    // The width of the chart's plot area in pixels.  A point of a series is a band
    // and a line, so about half as many points per series are worth giving.  0
    // while the window is closed.
    virtual std::int32_t populationPlotWidth() const { return 0; }
    // The ticks the user zoomed the chart into, for the plate of the chart shown
    // last; none while the chart shows a plate's whole story.  A chart of another
    // plate ends the zoom.
    virtual std::optional<ChartZoom> populationZoom() const { return std::nullopt; }
    // Replaces what the window shows, title included; the desktop draws it before
    // the next poll returns.  While zoomed, the chart should hold the zoomed ticks.
    // Nothing happens while the window is closed.
    virtual void showPopulation(const PopulationChart& /*chart*/) {}
};

}  // namespace vivarix
