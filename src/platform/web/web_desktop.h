// The desktop in a web page: the program's window is the page, its rendering
// surface the canvas "plate", its controls HTML elements; events, text and the
// population chart come from the browser (desktop_library.js is the page's side).
//
// Layout: the window's client area is the plate's canvas with the control column to
// its right.  The canvas keeps the surface's size in pixels and is shown enlarged
// by the largest whole factor the viewport allows, without smoothing; the controls
// keep their own size.  A control at client position (x, y) sits at (x - the
// surface's right edge, y) of the column.
//
// Event mapping (see namespace event in desktop.h):
// - A mouse button pressed over the plate gives 513, 516 or 519; released anywhere
//   in the page, 514, 517 or 520.  Moving the pointer gives 512.  The context menu
//   is suppressed over the plate, so that the right button feeds.  Presses over the
//   controls are the controls' own (a click on a button is only its control event).
// - A key pressed anywhere in the page gives 256, released 257, except a shortcut
//   key: its press is the shortcut event, and the browser does nothing else with it.
//   A digit is the key's place on the main row, a letter the letter the layout
//   writes (the US layout's letter on that key for other scripts), pressed without
//   Shift, Ctrl, Alt or Meta.
// - A button or option raises its control event when clicked, a trackbar for every
//   step of a drag or key and once more at the end of the move.
// - The page never asks to close (16 is never raised): the browser's tab closes it.
// - Events are handed out one per poll in the order they happened (pointer moves
//   in a row that were not polled yet count as one); while a message box is open
//   nothing is queued.
//
// cursorPosition is the last pointer position the page saw, in client coordinates
// (plate pixels); outside the plate and the column it lies outside the client area.
//
// Files: a save goes to the browser's downloads.  askSaveFileName returns a path in
// the page's own (in-memory) file system; the file written there is handed to the
// browser as a download, under the suggested name, by the next poll.
//
// Message boxes cannot block a page: messageBox shows a modal box and returns at
// once; the box stays until the user acknowledges it.
//
// The population window is a panel of the page, beside the plate and the controls,
// with a close box of its own; the chart is drawn by uPlot.
#pragma once

#include <memory>

#include "platform/core/desktop.h"
#include "platform/core/graphics.h"

namespace vivarix {

// The page's desktop, with no window yet.  Image handles of controls are resolved
// in `graphics`, which must outlive the desktop.  One desktop a page.
std::unique_ptr<Desktop> startWebDesktop(const Graphics& graphics);

// Text for Graphics::text, drawn by the browser's canvas in the page's fonts
// ("arial" is Arial, or Liberation Sans where Arial is missing) and made crisp: a
// pixel is the front colour where the glyph covers at least half of it, else left
// as it was.
std::unique_ptr<TextRenderer> createWebTextRenderer();

}  // namespace vivarix
