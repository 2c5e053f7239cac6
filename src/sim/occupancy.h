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
// list has not changed since (ListKeys::changes); after a placement or a new plate
// it is rebuilt by one walk, on the first search that needs it.
//
// A sparse plate may go many ticks without a single attack.  So a step records
// only when the step before it searched; a step that searches without recording
// takes its snapshot by a walk at the first search and records from then on.
// Contract: between steps, creatures change their cells only through changes of the
// list (which the index notices); nothing moves a creature of the list by hand.
//
// The index reaches the list only through ListKeys: element keys, the record of a
// key, liveness, list order and the count of changes.
//
// The index is only a faster way to the search's answer, so running out of memory
// for it loses nothing: a table that cannot grow leaves the index `lame` for the
// rest of the step, which then stops recording and answers its searches by walking
// the list.  The next step builds the index again.
//
// Chains are kept per block of 2 by 2 cells: the tables of chain heads stay small
// enough for the cache while the step jumps around the plate.  Emptying a table
// does not touch its chain heads: entries are numbered on across emptyings, and a
// head or link at or below the table's `base` belongs to an earlier filling.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/records.h"

namespace vivarix {

struct OccupancyEntry {
    std::uint32_t element;  // the creature's key (ListKeys<Creature>)
    std::int32_t cell;      // x * rows + y where the creature was recorded
    std::uint32_t next;     // the block's previous entry's tag; at or below base: none
};

// Entry i of `entries` has the tag base + i + 1.
struct OccupancyTable {
    std::vector<std::uint32_t> first;     // per block: its latest entry's tag
    std::vector<OccupancyEntry> entries;  // in the order of recording
    std::uint32_t base = 0;               // tags of the current entries lie above it
};

struct Occupancy {
    static constexpr std::int32_t blockShift = 1;
    std::int32_t rows = 0;       // the grids' rows: cell index x * rows + y
    std::int32_t blockRows = 0;  // block index (x >> shift) * blockRows + (y >> shift)
    OccupancyTable before;
    OccupancyTable now;
    bool beforeValid = false;
    std::uint64_t listChanges = 0;  // the list's changes when `before` was complete
    bool recording = false;         // this step records into `now`
    bool recordedFromStart = false; // ... and did from its start
    bool searched = false;          // this step searched
    bool lame = false;              // a table could not grow: this step walks the list
};

// Starts a step: sizes the tables for a columns-by-rows grid and empties `now`;
// `before` stays trusted only if the list is unchanged since the last step ended.
// Without memory for the tables the step starts lame.
void beginOccupancyStep(Occupancy& index, CreatureList& list, std::int32_t columns, std::int32_t rows);

// Makes room for more entries in a full table; false, with the index lame, when
// there is no memory for them.
bool growOccupancyTable(Occupancy& index, OccupancyTable& table);

// Adds a creature at its current cell to a table; nothing when the table is full
// and cannot grow (the index is lame then).
inline void occupancyRecordIn(Occupancy& index, OccupancyTable& table, const Creature& creature) {
    if (table.entries.size() == table.entries.capacity() && !growOccupancyTable(index, table)) [[unlikely]]
        return;
    const auto block = static_cast<std::size_t>((creature.x >> Occupancy::blockShift) * index.blockRows +
                                                (creature.y >> Occupancy::blockShift));
    std::uint32_t& head = table.first[block];
    table.entries.push_back({ListKeys<Creature>::key(creature), creature.x * index.rows + creature.y, head});
    head = table.base + static_cast<std::uint32_t>(table.entries.size());
}

// Records a creature at its current cell in `now`, while the step records.
inline void occupancyRecord(Occupancy& index, const Creature& creature) {
    if (index.recording) occupancyRecordIn(index, index.now, creature);
}

// Ends a step: what the step recorded becomes `before`.
void endOccupancyStep(Occupancy& index, CreatureList& list);

// The first creature in list order, other than `creature`, on its cell; nullptr
// when it is alone.  Only during a step, or between steps while the index is
// trusted (beforeValid).
Creature* firstOtherOnCell(Occupancy& index, CreatureList& list, const Creature& creature);

}  // namespace vivarix
