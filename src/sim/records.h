// The records of the simulation: creatures and queued repaints of plate cells.
#pragma once

#include <cstdint>

#include "platform/core/list.h"

namespace vivarix {

// One organism.  Field order and widths are the program's data model: the record is
// copied whole at birth and by the colour statistics, dumped in this order by
// vivarix-lab, and shown field by field by the inspector.
struct Creature {
    std::int32_t x;                // plate column, 1 .. plateWidth - 1
    std::int32_t y;                // plate row (rows grow downward), 1 .. plateHeight - 1
    std::int32_t stomach;          // food energy; the creature starves below 0
    std::int32_t age;              // ticks lived, halved by each birth
    std::int16_t kind;             // 0 blue, 1 red; index into kindCount
    std::int32_t colour;           // always geneColour of the record, 0 .. 0xFFFFFF
    std::int32_t maxAge;           // dies when age > maxAge
    std::int32_t stomachCapacity;  // eats only while stomach < stomachCapacity
    std::int8_t sexMarker;         // shown by the inspector only
    std::int32_t maturityAge;      // gives birth when age > maturityAge
    std::int32_t stress;           // grows with blocked moves; may be negative
    std::int32_t stressTolerance;  // attacks when stress > stressTolerance
    std::int16_t kPoints;          // shown by the inspector only
    std::int16_t geneV;            // turning weights, each 0..2: keep heading
    std::int16_t geneR;            // +1
    std::int16_t geneSr;           // +2
    std::int16_t geneRw;           // +4 (reverse)
    std::int16_t geneSl;           // -1
    std::int16_t geneL;            // -2
    std::int16_t direction;        // heading 0..7, 0 = up, clockwise in steps of 45 degrees
};

// A request to repaint one pixel of the plate picture.
struct NutriumParticle {
    std::int16_t x;
    std::int16_t y;
    std::int16_t level;  // the cell's level after the change; 0 = emptied
};

using CreatureList = List<Creature>;
using NutriumList = List<NutriumParticle>;

// Heading -> step, x growing to the right and y downward.
inline constexpr std::int32_t headingDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr std::int32_t headingDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

}  // namespace vivarix
