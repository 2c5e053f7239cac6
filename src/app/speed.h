// Fast-forward: how many ticks one pass of the main loop runs, and the window title
// that says so.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace vivarix {

struct AppState;

// The speeds that F cycles through, in this order: ticks per pass, or maxSpeed for
// as many ticks as fit in the state's tick budget of each pass (maxSpeedBudget on
// the desktop; AppState::maxSpeedTicks).  Index 0 (one tick a pass)
// is the program as it starts.
inline constexpr std::int32_t maxSpeed = 0;
inline constexpr std::array<std::int32_t, 5> passSpeeds = {1, 4, 16, 64, maxSpeed};
inline constexpr std::chrono::microseconds maxSpeedBudget{14000};

// The next speed, after the last the first again.
void cycleSpeed(AppState& state);

// The main window's title: the program's name; during a replay followed by
// "  replay N/M" (the tick and the recording's end), at its end by "  replay end
// M"; then while paused by "  *** PAUSE ***", else while faster than one tick a
// pass by "  >> x16" or "  >> max".
std::string mainWindowTitle(const AppState& state);

// Runs the ticks of one pass at the state's speed, each through runJournalledTick
// and noted in the population history.  At maxSpeed at least one tick, then more
// while the pass's ticks have taken less than the state's maxSpeedTicks.  A replay stops at
// the recording's end (and runs none there).  Returns the ticks run.
std::int32_t runPassTicks(AppState& state);

}  // namespace vivarix
