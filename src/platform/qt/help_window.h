// The help window: the program's help text (a Qt resource, help/help.html) in Qt's
// rich-text viewer, a window of its own beside the program's.
#pragma once

#include <QTextBrowser>

namespace vivarix {

// A new help window titled "Vivarix help", not yet shown.  `owner` (the program's
// window) deletes it; the help window is a top-level window all the same.
QTextBrowser* createHelpWindow(QWidget* owner);

// The program's icon at every size the desktop entry installs (data/icons).
QIcon programIcon();

}  // namespace vivarix
