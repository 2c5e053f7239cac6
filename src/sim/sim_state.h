// The part of the application state that the simulation reads and writes.
//
// The program keeps one AppState (src/app), which extends this record with the
// rendering and main-loop fields; tests and vivarix-lab build their own independent
// states.  The simulation procedures take the state as their parameter and touch
// nothing else.  The platform services it needs (random numbers, images for the
// plate layout, control states, message boxes) are part of the state too.
#pragma once

#include <array>
#include <cstdint>

#include "platform/core/controls.h"
#include "platform/core/graphics.h"
#include "platform/core/message_box.h"
#include "platform/core/random.h"
#include "sim/occupancy.h"
#include "sim/plate_grid.h"
#include "sim/records.h"

namespace vivarix {

inline constexpr std::int32_t placeKind0 = 61;  // placementKind values
inline constexpr std::int32_t placeKind1 = 62;

struct SimState {
    // Plate size in pixels, fixed for the whole run.
    std::int16_t plateWidth = 460;
    std::int16_t plateHeight = 460;

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

    std::int32_t placementKind = placeKind0;  // a left click places kind 0 (61) or 1 (62)
    std::int32_t feedingActive = 0;  // 1 while the right button is held inside the window
    std::int32_t mouseX = 0;         // last pointer position inside the client area
    std::int32_t mouseY = 0;
    std::int32_t autoFeedAmount = 80;  // units dropped per tick by automatic feeding

    Random random;
    Graphics graphics;
    Controls* controls = nullptr;       // not owned; nullptr: every control reads 0
    MessageBoxes* messages = nullptr;   // not owned; nullptr: messages go to stderr

    Occupancy occupancy;  // scratch of stepCreatures, rebuilt at every step
};

// Allocates both grids for the plate size, zero-filled, and zeroes kindCount.
void allocatePlate(SimState& state);

// The state of a control, 0 when the state has no controls.
std::int32_t controlState(const SimState& state, std::int32_t control);

// Shows "Fehler!" / "Kein Speicherplatz zum Reservieren des neuen Elements": a list
// element could not be allocated and the caller goes on without it.
void reportNoMemory(SimState& state);

}  // namespace vivarix
