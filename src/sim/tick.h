// One tick of the simulation, the unit the desktop program's pass, fast runs and
// vivarix-lab all advance by.
#pragma once

#include <array>

#include "sim/creature_step.h"
#include "sim/feeding.h"
#include "sim/sim_state.h"

namespace vivarix {

// A stage of the tick: its name in messages and the procedure that runs it.
struct TickStage {
    const char* name;
    void (*run)(SimState&);
};

// The stages of a tick, in the order they run: feeding by the mouse, automatic
// feeding, centre feeding, then the creature step (see feeding.h and
// creature_step.h for their draws).  Whoever needs to look between the stages
// walks this list instead of keeping a copy of it.
inline constexpr std::array<TickStage, 4> tickStages = {{
    {"manual feeding", feedByMouse},
    {"automatic feeding", feedAutomatically},
    {"centre source", feedCentre},
    {"creature step", stepCreatures},
}};

// Runs the stages of tickStages in order.  The cells the tick changes are appended
// to the nutrient list; whoever shows the plate paints and empties it.
void runTick(SimState& state);

// The creature list's current element its last creature (before-first when it is
// empty), as a drawn frame leaves it, so that a placement before the next tick
// appends.
void makeLastCurrent(SimState& state);

// What a drawn frame leaves behind, for a tick that no frame follows: the nutrient
// list emptied and the creature list's last creature current (makeLastCurrent).
void settleWithoutFrame(SimState& state);

}  // namespace vivarix
