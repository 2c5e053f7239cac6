// Which creatures stand on which cell, for the opponent search of the creature step.
//
// A stressed, blocked creature looks for the first other creature in list order on
// its own cell.  Scanning the list for it costs a whole walk per attack, which a
// crowded plate cannot afford, and so does building an index by a walk of its own
// in every tick.  Instead the step records every creature where it leaves it:
//
//   `now`     the creatures the current step has finished with (visited, skipped
//             by the list's delete rule, or born), at their final cells;
//   `before`  every creature where the previous step left it.
//
// A creature not yet visited has not moved since the previous step, so the two
// tables together hold every creature of the list at its current cell.  Entries
// are never removed: a creature that left a cell, or was deleted, is skipped by the
// search because its position no longer matches or its element is no longer live.
// That is sound within one step because a deleted record is only reused by a
// child, which is born on its parent's cell, is recorded, and does not move again
// in that step.
//
// At the end of a step `now` becomes `before`.  `before` is only trusted while the
// list has not changed since (CreatureList::modifications); after a placement or a
// new plate it is rebuilt by one walk, on the first search that needs it.
//
// A sparse plate may go many ticks without a single attack.  So a step records
// only when the step before it searched; a step that searches without recording
// takes its snapshot by a walk at the first search and records from then on.
// Contract: creature positions change only through the simulation procedures.  Code
// that moves a creature of the list by hand calls `forgetOccupancy`.
//
// Chains are kept per block of 2 by 2 cells: the tables of chain heads stay small
// enough for the cache while the step jumps around the plate.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/records.h"

namespace vivarix {

struct OccupancyEntry {
    std::uint32_t element;  // CreatureList element number
    std::int32_t cell;      // x * rows + y where the creature was recorded
    std::uint32_t next;     // the block's next entry + 1, 0 at the end
};

struct OccupancyTable {
    std::vector<std::uint32_t> first;     // per block: its latest entry + 1, 0 none
    std::vector<OccupancyEntry> entries;  // in the order of recording
    std::vector<std::int32_t> touched;    // blocks with entries
};

struct Occupancy {
    static constexpr std::int32_t blockShift = 1;
    std::int32_t rows = 0;       // the grids' rows: cell index x * rows + y
    std::int32_t blockRows = 0;  // block index (x >> shift) * blockRows + (y >> shift)
    OccupancyTable before;
    OccupancyTable now;
    bool beforeValid = false;
    std::uint64_t listChanges = 0;  // the list's modifications when `before` was complete
    bool recording = false;         // this step records into `now`
    bool recordedFromStart = false; // ... and did from its start
    bool searched = false;          // this step searched
};

// Starts a step: sizes the tables for a columns-by-rows grid and empties `now`;
// `before` stays trusted only if the list is unchanged since the last step ended.
void beginOccupancyStep(Occupancy& index, const CreatureList& list, std::int32_t columns, std::int32_t rows);

// Records a creature at its current cell in `now`, while the step records.
void occupancyRecordNow(Occupancy& index, const Creature& creature);
inline void occupancyRecord(Occupancy& index, const Creature& creature) {
    if (index.recording) occupancyRecordNow(index, creature);
}

// Ends a step: what the step recorded becomes `before`.
void endOccupancyStep(Occupancy& index, const CreatureList& list);

// Makes the next step rebuild `before` (after moving creatures by hand).
void forgetOccupancy(Occupancy& index);

// The first creature in list order, other than `creature`, on its cell; nullptr
// when it is alone.  Only during a step.
Creature* firstOtherOnCell(Occupancy& index, const CreatureList& list, const Creature& creature);

}  // namespace vivarix
