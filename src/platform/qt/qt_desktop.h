// The desktop on Qt Widgets: the program's window, controls, events, rendering
// surface, message boxes and text.  This header does not include Qt.
//
// Event mapping (see namespace event in desktop.h):
// - Mouse buttons and motion anywhere in the window, over the surface and over every
//   control alike: 513/514 left press/release, 516/517 right, 519/520 middle, 512
//   motion.  The second press of a double click is a press like any other.
// - Keys: 256/257 press/release.  The press of a shortcut key is the shortcut event;
//   its release still arrives as 257.  Shortcut digits follow the key's place on the
//   main row and shortcut letters the letter on the key (see shortcut_keys.h).
// - A push, image or option button raises its control event when it is clicked, a
//   trackbar for every step of a drag, page or key and once more at the end of the
//   move.  The event replaces the mouse or key event whose dispatch raised it, so a
//   click on a button gives 513 and then 13100, with no 514.
// - The close box, the system menu's Close and QWidget::close() give 16; the window
//   stays open.
// Nothing is lost: events that arrive together are handed out one per poll in the
// order they happened.  While a message box is open nothing is queued.
//
// cursorPosition is where the window system says the pointer is, also outside the
// window.  The offscreen and minimal platforms have no pointer of their own: there
// it is where the last mouse event in the window was.
//
// A desktop has at most one window; operations naming another number do nothing.
// The population window is not such a window: it reports no mouse or key events of
// its own, only the shortcuts typed into it.
#pragma once

#include <memory>

#include "platform/core/desktop.h"
#include "platform/core/graphics.h"

namespace vivarix {

// Starts Qt for this process (the first call) and returns a desktop with no window
// yet.  When no display can be opened it writes one line on stderr naming what is
// missing (DISPLAY and WAYLAND_DISPLAY unset, the display named by DISPLAY cannot be
// opened, the platform named by QT_QPA_PLATFORM cannot start) and exits with status
// 1.  `argc` and `argv` must live as long as the process (main's own).  Image
// handles of controls are resolved in `graphics`, which must outlive the desktop.
// Later calls return further desktops on the same Qt application.
std::unique_ptr<Desktop> startQtDesktop(int& argc, char** argv, const Graphics& graphics);

// Text for Graphics::text, drawn with the fonts fontconfig finds ("arial" is usually
// Liberation Sans): no smoothing, so text pixels have exactly the front colour.
// Needs startQtDesktop first.
std::unique_ptr<TextRenderer> createQtTextRenderer();

}  // namespace vivarix
