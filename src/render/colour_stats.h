// The colour statistics: creatures counted per strain (colour value) and kind in
// every frame while they are switched on, drawn as bars over the colour scale and
// as two blocks of figures about the most frequent strain of each kind.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/records.h"

namespace vivarix {

struct RenderState;

// The counters of one kind.  Strains are found through a small open-addressing
// table keyed by colour value, so resetting and counting cost grows with the
// strains and creatures counted, not with the 2^24 colour values.
struct KindColourCounts {
    std::vector<std::int32_t> colours;    // slot -> colour value; slot 0 holds 0 from the start
    std::vector<std::int32_t> counts;     // slot -> creatures of that colour this frame
    std::vector<std::size_t> positions;   // slot -> its place in the table
    std::vector<std::int32_t> table;      // open addressing: slot + 1, 0 = empty; size a power of 2
};

// Slot 0 of a kind's distinct colours always holds colour value 0.
void resetKindCounts(KindColourCounts& counts);

// Counts one creature of colour `colour`; returns the new count of that colour.
std::int32_t countColour(KindColourCounts& counts, std::int32_t colour);

// The number of creatures of `colour` counted this frame (0 for one not met).
std::int32_t colourFrequency(const KindColourCounts& counts, std::int32_t colour);

// The last used slot of a kind's distinct colours (0 when only slot 0 is used).
std::int32_t distinctColourCount(const RenderState& state, std::int32_t kind);

// Zeroes every counter, the distinct colours (slot 0 keeps 0), the highest counts
// and the representatives.  Called at the start of every frame with statistics on.
void resetColourStats(RenderState& state);

// Counts a creature: its colour's counter, the highest count of its kind (and a
// copy of the creature that first reached it, on a strictly greater count), and
// its colour among the kind's distinct colours in the order of first appearance.
void countCreature(RenderState& state, const Creature& creature);

// On the open target: for each distinct colour c of kind 0 a vertical line of
// count + 4 pixels from row 455 upward at column 255 - (c mod 255), of kind 1 at
// column 205 + (c mod 255), in colour c; then the blocks of figures in blue at
// x = 5 and red at x = 400.  Leaves the drawing mode normal.
void drawColourStats(RenderState& state);

}  // namespace vivarix
