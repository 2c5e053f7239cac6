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
//   key: its press is the shortcut event, and the browser does nothing else with it
//   (named keys of addKeyShortcut by the browser's names: "End", "F1").  A key a
//   focused slider moves by (End, Home, the arrows, Page Up and Down) stays the
//   slider's.
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
// browser as a download, under the suggested name, by the next poll.  A file comes
// in from the browser's file picker or dropped anywhere on the page (the first of
// several): the page copies it into its working folder, under its own name (or
// "name (2).vxs"... beside a file of that name kept before, which a replay may
// still read), and raises event::fileDropped with that path.  askOpenFileName
// cannot wait for the picker: it shows it and returns "" at once, and the chosen
// file arrives later as a dropped one.  A file that arrives while a dialog is open
// is ignored, as the desktop's modal dialogs refuse drops.
//
// Message boxes cannot block a page: messageBox shows a modal box and returns at
// once; the box stays until the user acknowledges it.  askTick and the progress of
// long work do wait, without blocking the browser: the page's build is transformed
// by emscripten's Asyncify, so that these calls return to the browser and resume
// when the user answers (askTick) or after each repaint (showProgress).  Meanwhile
// the page runs no pass and passes on no event.  The progress dialog shows once
// the work has run half a second; its Cancel button and Escape cancel.
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
