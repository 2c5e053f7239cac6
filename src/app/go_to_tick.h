// Going to a tick of a replay: forward by running the ticks without drawing them,
// backward by replaying the recording from its start.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "platform/core/desktop.h"

namespace vivarix {

// A jump samples the population history once every this many ticks, about as
// often as a pass at "max" would.
inline constexpr std::uint64_t jumpSampleTicks = 128;
// How often a jump reports its progress (and so repaints and looks for a Cancel),
// in milliseconds of the pass clock.
inline constexpr std::uint32_t jumpProgressMs = 50;

// Goes to tick `tick` of the replay (its end at most): from the recording's start
// again (restartReplay) when it lies behind, then tick by tick through
// runWatchedTick, each checkpoint on the way verified (a mismatch ends the replay
// there, see takeRecordedInputs), the plate cells they change painted once at the
// end.  The desktop's progress shows "Tick N of T";
// a Cancel stops at the tick reached.  Then the frame is drawn and sampled; at the
// recording's end the session pauses.  Nothing happens while live.
void goToTick(AppState& state, Desktop& desktop, std::uint64_t tick);

// Ctrl+G: asks for a tick of the recording, offering the current one, and goes
// there.  Nothing happens while live.
void askAndGoToTick(AppState& state, Desktop& desktop);

}  // namespace vivarix
