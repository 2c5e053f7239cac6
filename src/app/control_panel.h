// The control column: the inspector view, the three image buttons and the
// population button, the four-tab panel with its sliders, options and the new-plate
// button, and the keyboard shortcuts, with what each control event and shortcut
// does.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "platform/core/desktop.h"

namespace vivarix {

// Shortcut numbers.
namespace shortcut {
inline constexpr std::int32_t delay0 = 50;   // keys 0..9: 50..59
inline constexpr std::int32_t moveMagnifier = 60;  // R
inline constexpr std::int32_t kind0 = 61;    // C
inline constexpr std::int32_t kind1 = 62;    // S
inline constexpr std::int32_t stats = 63;    // G
inline constexpr std::int32_t magnifier = 64;  // L
inline constexpr std::int32_t pause = 66;    // P
inline constexpr std::int32_t help = 67;     // F1
inline constexpr std::int32_t saveSession = 68;  // Ctrl+S
inline constexpr std::int32_t population = 69;  // H
inline constexpr std::int32_t speed = 70;    // F
inline constexpr std::int32_t step = 71;     // N
inline constexpr std::int32_t openSession = 72;  // Ctrl+O
inline constexpr std::int32_t goToTick = 73;     // Ctrl+G
inline constexpr std::int32_t goToEnd = 74;      // End
}  // namespace shortcut

// The button that opens and closes the population window, beside the image buttons.
inline constexpr std::int32_t populationButton = 35;

// Creates every control at its place, with its texts, ranges and initial values,
// between beginControls (done by the caller) and endControls.
void buildControlPanel(AppState& state, Desktop& desktop);

// Registers the shortcuts on window 0: C, S, G, L, P, 0 to 9, R; then F1 (help),
// Ctrl+S (save the session's journal), H, F, N, Ctrl+O (open a session), Ctrl+G
// (go to a tick of a replay) and End (go to its end).
void registerShortcuts(Desktop& desktop);

// Writes the four value labels from their trackbars: "Auto: " position * 8,
// "max.Magen: " position * 32 and "max.Alter: " position * 64 (the stomach capacity
// and lifespan that placement gives a creature), "Geschlechtsreif: " position * 16.
void writeValueLabels(AppState& state);

// Writes "Seed: N", the session's seed, on the "About" tab.
void writeSeedLabel(AppState& state);

// The effect of a control event (events of other controls are ignored).  During a
// replay a trackbar of "Global Parameters" or "Actions" and "New Vivarix" first end
// it: the user takes over (endReplay).
void handleControlEvent(AppState& state, Desktop& desktop, std::int32_t control);

// The effect of a shortcut event.  H opens or closes the population window, F
// cycles the speed, N asks for one tick while paused (and does nothing otherwise).
// At the end of a replay P and N go on live.  Ctrl+O opens a session, Ctrl+G and
// End go to a tick of a replay (nothing while live).
void handleShortcutEvent(AppState& state, Desktop& desktop, std::int32_t shortcut);

// A middle button press at (x, y): follows the creature there (see
// followCreatureAt), switching the magnifier on to show it.  While paused it draws
// the frame again (renderFrame, no tick), so that the choice shows at once.
void handleMiddleClick(AppState& state, std::int32_t x, std::int32_t y);

}  // namespace vivarix
