// Starts the Qt desktop and ends: what the program does first, without the program.
// Prints "started" and exits with 0 when a display could be opened.
#include <cstdio>

#include "platform/core/graphics.h"
#include "platform/qt/qt_desktop.h"

int main(int argc, char** argv) {
    vivarix::Graphics graphics;
    const auto desktop = vivarix::startQtDesktop(argc, argv, graphics);
    std::puts(desktop->renderSurfaceAvailable() ? "started" : "started without a rendering surface");
    return 0;
}
