// The one record of the program's state.
//
// AppState extends the simulation's and the renderer's parts with the fields of the
// main loop.  The desktop program keeps a single instance (see main_loop); tests and
// vivarix-lab make their own.  A fresh AppState holds the values the program has
// after start-up has set its defaults; `initialiseState` allocates the grids and
// gives the state its platform services.
#pragma once

#include <cstdint>
#include <memory>

#include "app/population_watch.h"
#include "app/replay.h"
#include "app/speed.h"
#include "platform/core/clock.h"
#include "platform/core/controls.h"
#include "render/render_state.h"
#include "session/session.h"

namespace vivarix {

inline constexpr std::int32_t placeKind0 = 61;  // placementKind values
inline constexpr std::int32_t placeKind1 = 62;

struct AppState : RenderState {
    Controls* controls = nullptr;    // not owned; nullptr: every control reads 0
    std::int32_t placementKind = placeKind0;  // a left click places kind 0 (61) or 1 (62)
    std::int32_t feedingActive = 0;  // 1 while the right button is held inside the window
    std::int32_t mouseX = 0;         // last pointer position inside the client area
    std::int32_t mouseY = 0;
    std::int32_t frameDelayMs = 0;   // sleep of a pass without an event: 0, 1, 2, 4 .. 256
    std::int32_t newPlateLatch = 0;  // 0 also tells plate preparation it runs the first time
    std::int32_t paused = 0;
    std::uint32_t frameStartTick = 0;     // millisecond clock at the start of the pass
    std::int32_t frameTimeAccumMs = 0;    // drawn-pass milliseconds since the last rate update
    std::int32_t frameCounter = 0;        // passes, paused ones included
    std::int32_t speedIndex = 0;          // into passSpeeds (speed.h): 0 one tick a pass
    std::int32_t stepRequested = 0;       // 1: N asked for one tick while paused
    // What the ticks of a pass at maxSpeed may take; the platform's to choose.
    std::chrono::microseconds maxSpeedTicks = maxSpeedBudget;

    Session session;                 // the seed, the ticks run and the journal of the inputs
    MillisecondClock* passClock = nullptr;  // times the passes; nullptr: tickCount().  Not owned
    PopulationWatch watch;           // the population history and its window
    std::unique_ptr<Replay> replay;  // the recording being replayed; none while live
};

// The state of a control, 0 when the state has no controls.
std::int32_t controlState(const AppState& state, std::int32_t control);

// The millisecond clock that times the passes: passClock, else tickCount().
std::uint32_t passTime(AppState& state);

// The defaults of start-up and the empty grids, lists and counters for the plate
// size; the random generator seeded with `seed`, which the session keeps.
void initialiseState(AppState& state, Controls* controls, MessageBoxes* messages, std::uint64_t seed);

}  // namespace vivarix
