// The one record of the program's state.
//
// AppState extends the simulation's and the renderer's parts with the fields of the
// main loop.  The desktop program keeps a single instance (see main_loop); tests and
// vivarix-lab make their own.  A fresh AppState holds the values the program has
// after start-up has set its defaults; `initialiseState` allocates the grids and
// gives the state its platform services.
#pragma once

#include <cstdint>

#include "app/journal.h"
#include "app/population_watch.h"
#include "platform/core/clock.h"
#include "render/render_state.h"

namespace vivarix {

struct AppState : RenderState {
    std::int32_t frameDelayMs = 0;   // sleep of a pass without an event: 0, 1, 2, 4 .. 256
    std::int32_t newPlateLatch = 0;  // 0 also tells plate preparation it runs the first time
    std::int32_t paused = 0;
    std::uint32_t frameStartTick = 0;     // millisecond clock at the start of the pass
    std::int32_t frameTimeAccumMs = 0;    // drawn-pass milliseconds since the last rate update
    std::int32_t frameCounter = 0;        // passes, paused ones included
    std::int32_t speedIndex = 0;          // into passSpeeds (speed.h): 0 one tick a pass
    std::int32_t stepRequested = 0;       // 1: N asked for one tick while paused

    std::uint64_t seed = 0;          // the random generator's seed of this session
    std::uint64_t sessionTicks = 0;  // ticks run since start-up, over all plates
    Journal journal;                 // the session's inputs, for replaying it
    MillisecondClock* passClock = nullptr;  // times the passes; nullptr: tickCount().  Not owned
    PopulationWatch watch;           // the population history and its window
};

// The millisecond clock that times the passes: passClock, else tickCount().
std::uint32_t passTime(AppState& state);

// The defaults of start-up and the empty grids, lists and counters for the plate
// size; the random generator seeded with `seed`.
void initialiseState(AppState& state, Controls* controls, MessageBoxes* messages, std::uint64_t seed);

}  // namespace vivarix
