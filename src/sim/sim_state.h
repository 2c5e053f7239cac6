// The part of the application state that the simulation reads and writes.
//
// The program keeps one AppState (src/app), which extends this record with the
// rendering and main-loop fields; tests and vivarix-lab build their own independent
// states.  The simulation procedures take the state as their parameter and touch
// nothing else; the user's inputs reach it as values (src/session), never through
// the controls.  The platform services it needs (random numbers, images for the
// plate layout, message boxes) are part of the state too.
#pragma once

#include <array>
#include <cstdint>

#include "platform/core/graphics.h"
#include "platform/core/message_box.h"
#include "platform/core/random.h"
#include "sim/occupancy.h"
#include "sim/plate_grid.h"
#include "sim/records.h"

namespace vivarix {

// The plate is plateSide by plateSide cells, for the whole run.
inline constexpr std::int16_t plateSide = 460;

// Feeding by the right mouse button, as the last feeding input set it.
struct ManualFeeding {
    std::int32_t active = 0;  // 1: every tick feeds around (x, y)
    std::int32_t x = 0;       // the pointer, in window client coordinates
    std::int32_t y = 0;
    std::int32_t spread = 0;  // side of the square the units land in (even)
    std::int32_t grains = 0;  // a tick makes 9 times this many attempts
};

struct SimState {
    // Plate size in pixels, fixed for the whole run.
    std::int16_t plateWidth = plateSide;
    std::int16_t plateHeight = plateSide;

    PlateGrid plateGrid;        // nutrient per cell, -1 off the plate
    CreatureGrid creatureGrid;  // kind + 1 of the last creature that ended its move there
    std::array<std::int32_t, 3> kindCount{};  // living creatures per kind; [2] unused

    CreatureList creatureList;  // the living creatures, in stepping order
    // The creature the magnifier follows (a middle click chose it), or nullptr.  The
    // creature step keeps it right: nullptr once that creature is removed, and moved
    // with it when the step re-lays the list in memory.  Whoever empties the list
    // sets it to nullptr.
    Creature* followed = nullptr;
    NutriumList nutriumList;    // plate cells to repaint in the next frame

    ManualFeeding manualFeeding;
    std::int32_t autoFeedAmount = 0;  // units dropped per tick by automatic feeding

    Random random;
    Graphics graphics;
    MessageBoxes* messages = nullptr;   // not owned; nullptr: messages go to stderr
    // Appends refused for lack of memory that changed what the simulation does: a
    // child not born, a unit of manual or centre feeding not dropped.  From the first
    // one on, the run parts from what its inputs alone reproduce.
    std::uint64_t memoryDetours = 0;

    Occupancy occupancy;  // scratch of stepCreatures, rebuilt at every step
};

// Allocates both grids for the plate size, zero-filled, and zeroes kindCount.
void allocatePlate(SimState& state);

// A simulation as it starts: the plate size, both grids allocated, both lists
// empty, nothing followed, no feeding, no detours, the generator seeded with `seed`
// and messages going to `messages` (nullptr: stderr).
void resetSimulation(SimState& state, MessageBoxes* messages, std::uint64_t seed);

// Shows "Fehler!" / "Kein Speicherplatz zum Reservieren des neuen Elements": a list
// element could not be allocated and the caller goes on without it.
void reportNoMemory(SimState& state);

}  // namespace vivarix
