// Laying out the plate grid from the plate picture, and placing a creature by hand.
#pragma once

#include <cstdint>

#include "sim/sim_state.h"

namespace vivarix {

// The colour of a bare plate cell on the plate picture: RGB(101, 101, 101).
inline constexpr std::int32_t plateColour = 0x656565;

// The plate picture, plate size: the grid is laid out from it, and the plate view
// paints the nutrient and the creatures on it.
inline constexpr std::int32_t plateImage = 33;

// Reads the open drawing target pixel by pixel, x from 0 to plateWidth (outer loop)
// and y from 0 to plateHeight (inner), both ends included; positions beyond the
// picture read -1.  A pixel of plate colour makes a plate cell: with
// `randomNutrient` it gets randomInt(3) + 1, one draw per plate cell in scan order,
// and is queued for repainting unless that level is 2; otherwise it gets 0.  Every
// other cell gets -1.  Cells beyond the scanned range keep their values.  A failed
// queue append is reported; the cell keeps its level.
void layOutPlateGrid(SimState& state, bool randomNutrient);

// Why a placement placed nothing.  offPlate and occupied come from hand placement,
// controlColumn from the placement input that leads to it (src/session), paused
// from the click that would make one (src/app).
enum class PlaceRefusal : std::uint8_t { none, offPlate, occupied, noMemory, paused, controlColumn };

// The outcome of a placement: true when a creature was placed, else why not.  It
// converts to bool so that callers that only ask whether need not know the reasons.
struct PlaceResult {
    PlaceRefusal refusal = PlaceRefusal::none;
    constexpr operator bool() const { return refusal == PlaceRefusal::none; }
};

// A creature placed by hand: where, which kind and the limits the sliders give it.
struct HandPlacement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t kind = 0;  // 0 or 1
    std::int32_t stomachCapacity = 0;
    std::int32_t maxAge = 0;
    std::int32_t maturityAge = 0;
};

// A left click on the plate: places a creature of the placement's kind at its
// (x, y), appended after the creature list's current element, unless the cell is
// off the plate (-1) or a creature ended its move there in the last step.  It gets
// the placement's limits, its heading from randomInt(7), and genes that are all 2.
// The caller has checked that x is left of the control column.  Returns whether a
// creature was placed, or why not; a failed append is reported and changes nothing.
PlaceResult placeCreatureByHand(SimState& state, const HandPlacement& placement);

}  // namespace vivarix
