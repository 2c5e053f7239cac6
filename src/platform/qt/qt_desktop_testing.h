// Test access to the widgets behind a desktop made by startQtDesktop.  For tests
// only: the program itself works through Desktop.
#pragma once

#include <QWidget>
#include <cstdint>

#include "platform/core/desktop.h"

namespace vivarix {

// The top-level window; nullptr before openWindow (or for a desktop not made by
// startQtDesktop).
QWidget* windowWidget(Desktop& desktop);
// The widget of control `number` (the latest one created under that number).
QWidget* controlWidget(Desktop& desktop, std::int32_t number);
// The rendering surface; nullptr before openRenderSurface.
QWidget* surfaceWidget(Desktop& desktop);
// The population window (a PopulationWindow); nullptr until it was first opened.
QWidget* populationWindowWidget(Desktop& desktop);
// From now on presents do not wait for the frame limit, so that a test runs
// thousands of passes in seconds (the wait has no part in what a pass does).
void presentWithoutWaiting(Desktop& desktop);

}  // namespace vivarix
