// Start-up of the desktop program and its end.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "platform/core/desktop.h"

namespace vivarix {

inline constexpr const char* programTitle = "Vivarix 0.4alpha";

// Brings the program from launch to its first pass, in this order: the defaults,
// grids and lists (with the random generator seeded with `seed`), the window, the
// rendering surface, the working pictures, the built-in pictures, the control
// panel, the shortcuts, the frame counters, the font, the first plate, the value
// labels and the automatic feeding amount.  `text` draws the program's text.
// Returns false, after the message box "Error" / "Can't open DirectX 7 or higher!",
// when the desktop cannot make a rendering surface.
bool startUp(AppState& state, Desktop& desktop, TextRenderer& text, std::uint64_t seed);

}  // namespace vivarix
