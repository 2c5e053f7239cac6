// The control column: the inspector view, the three image buttons, the four-tab
// panel with its sliders, options and the new-plate button, and the sixteen
// keyboard shortcuts, with what each control event and shortcut does.
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
}  // namespace shortcut

// Creates every control at its place, with its texts, ranges and initial values,
// between beginControls (done by the caller) and endControls.
void buildControlPanel(AppState& state, Desktop& desktop);

// Registers the sixteen shortcuts on window 0: C, S, G, L, P, 0 to 9, R; then F1
// (help) and Ctrl+S (save the session's journal).
void registerShortcuts(Desktop& desktop);

// Writes the four value labels from their trackbars: "Auto: " position * 8,
// "max.Magen: " position * 32 and "max.Alter: " position * 64 (the stomach capacity
// and lifespan that placement gives a creature), "Geschlechtsreif: " position * 16.
void writeValueLabels(AppState& state);

// The effect of a control event (events of other controls are ignored).
void handleControlEvent(AppState& state, std::int32_t control);

// The effect of a shortcut event.
void handleShortcutEvent(AppState& state, std::int32_t shortcut);

}  // namespace vivarix
