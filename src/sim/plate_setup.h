// Laying out the plate grid from the plate picture, and placing a creature by hand.
#pragma once

#include <cstdint>

#include "sim/sim_state.h"

namespace vivarix {

// The colour of a bare plate cell on the plate picture: RGB(101, 101, 101).
inline constexpr std::int32_t plateColour = 0x656565;

// Reads the open drawing target pixel by pixel, x from 0 to plateWidth (outer loop)
// and y from 0 to plateHeight (inner), both ends included; positions beyond the
// picture read -1.  A pixel of plate colour makes a plate cell: with the "Random"
// option (control 52) selected it gets randomInt(3) + 1, one draw per plate cell in
// scan order, and is queued for repainting unless that level is 2; otherwise it
// gets 0.  Every other cell gets -1.  Cells beyond the scanned range keep their
// values.  A failed queue append is reported; the cell keeps its level.
void layOutPlateGrid(SimState& state);

// Why a placement placed nothing.  offPlate and occupied come from hand placement,
// paused and controlColumn from the click that leads to it (src/app).
enum class PlaceRefusal : std::uint8_t { none, offPlate, occupied, noMemory, paused, controlColumn };

// The outcome of a placement: true when a creature was placed, else why not.  It
// converts to bool so that callers that only ask whether need not know the reasons.
struct PlaceResult {
    PlaceRefusal refusal = PlaceRefusal::none;
    constexpr operator bool() const { return refusal == PlaceRefusal::none; }
};

// A left click on the plate: places a creature of the placement kind at
// (mouseX, mouseY), appended after the creature list's current element, unless
// the cell is off the plate (-1) or a creature ended its move there in the last
// step.  Its limits come from the trackbars read now (stomachCapacity = "max.Magen"
// position * 32, maxAge = "max.Alter" position * 64, maturityAge = "Geschlechtsreif"
// position * 16), its heading from randomInt(7), its genes are all 2.  The caller
// has checked that mouseX is left of the control column.  Returns whether a
// creature was placed, or why not; a failed append is reported and changes nothing.
PlaceResult placeCreatureByHand(SimState& state);

}  // namespace vivarix
