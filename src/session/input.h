// The user's inputs to the simulation, as values.
//
// Everything that reaches the simulation from outside is one of these, applied by
// applyInput at the start of a tick: the desktop program makes them from its events,
// vivarix-lab from its options and from a journal, and the journal is their text.
// Slider positions are kept as positions, in the ranges of the control table; the
// values they stand for are worked out when the input is applied.
#pragma once

#include <cstdint>
#include <variant>

#include "sim/plate_setup.h"
#include "sim/sim_state.h"

namespace vivarix {

// A left click: a creature of `kind` (0 or 1) at the pointer (x, y), in window
// client coordinates, with the "max.Magen", "max.Alter" and "Geschlechtsreif"
// positions of that moment.
struct PlaceInput {
    std::int32_t x = 0, y = 0;
    std::int32_t kind = 0;
    std::int32_t magen = 0, alter = 0, reif = 0;
    bool operator==(const PlaceInput&) const = default;
};

// From now on the right button feeds at the pointer (x, y) with the "M. Size" and
// "M. NpF" positions.
struct FeedInput {
    std::int32_t x = 0, y = 0;
    std::int32_t spread = 0, grains = 0;
    bool operator==(const FeedInput&) const = default;
};

// From now on the right button does not feed.
struct NoFeedInput {
    bool operator==(const NoFeedInput&) const = default;
};

// From now on automatic feeding drops what the "Auto" position gives.
struct AutoInput {
    std::int32_t position = 0;
    bool operator==(const AutoInput&) const = default;
};

// "New Vivarix": a new plate, its nutrient at random or empty.
struct PlateInput {
    bool randomNutrient = true;
    bool operator==(const PlateInput&) const = default;
};

using Input = std::variant<PlaceInput, FeedInput, NoFeedInput, AutoInput, PlateInput>;

// An input and the tick it takes effect at: the number of ticks the session has
// run before it (over all plates, from 0).
struct TimedInput {
    std::uint64_t tick = 0;
    Input input;
    bool operator==(const TimedInput&) const = default;
};

// Whether an input is a level (feeding, Auto), which holds until the next of its
// kind, rather than an event (a placement, a new plate).
bool isLevel(const Input& input);

// Applies an input to the simulation.  A placement left of the control column
// (x < plateWidth, compared in 16 bits) places a creature by hand with the limits
// its positions give; further right it is refused as controlColumn.  The levels set
// manualFeeding or autoFeedAmount; a new plate lays out a plate as a rebuild and
// empties it of creatures (startNewPlate).  Returns whether the input took effect,
// or why not: only a placement can be refused.  The positions must be in their
// trackbars' ranges (the readers of inputs check them).
PlaceResult applyInput(SimState& state, const Input& input);

// Why a placement placed nothing, in words ("" for none): "the cell is off the
// plate", ...
const char* placeRefusalText(PlaceRefusal refusal);

}  // namespace vivarix
