#include "sim/occupancy.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <utility>

namespace vivarix {

namespace {

std::int32_t cellOf(const Occupancy& index, const Creature& c) { return c.x * index.rows + c.y; }

std::size_t blockOf(const Occupancy& index, const Creature& c) {
    return static_cast<std::size_t>((c.x >> Occupancy::blockShift) * index.blockRows + (c.y >> Occupancy::blockShift));
}

// Tags stay 32-bit: a table is renumbered from 0 (its heads zeroed) once its base
// passes 2^31, which leaves every step room for 2^31 entries, far more than the
// memory holds creatures.
void clearTable(OccupancyTable& table) {
    constexpr std::uint32_t renumberAt = std::uint32_t{1} << 31;
    table.base += static_cast<std::uint32_t>(table.entries.size());
    table.entries.clear();
    if (table.base >= renumberAt) {
        std::fill(table.first.begin(), table.first.end(), 0);
        table.base = 0;
    }
}

// The first in list order of the live creatures other than `creature` that stand
// on its cell and are recorded there in `table`, or `best` if that comes first.
Creature* firstIn(const Occupancy& index, const OccupancyTable& table, const ListKeys<Creature>& keys,
                  const Creature& creature, Creature* best) {
    const std::int32_t cell = cellOf(index, creature);
    for (std::uint32_t tag = table.first[blockOf(index, creature)]; tag > table.base;) {
        const OccupancyEntry& entry = table.entries[tag - table.base - 1];
        tag = entry.next;
        if (entry.cell != cell) continue;
        Creature& other = keys.record(entry.element);
        if (&other == &creature || !keys.live(entry.element) || other.x != creature.x || other.y != creature.y)
            continue;
        if (!best || ListKeys<Creature>::precedes(other, *best)) best = &other;
    }
    return best;
}

// Stops recording for the rest of the step: searches walk the list from now on.
void makeLame(Occupancy& index) {
    index.lame = true;
    index.recording = false;
    index.beforeValid = false;
}

// The first creature in list order other than `creature` on its cell, by a walk.
Creature* firstOnCellByWalk(CreatureList& list, const Creature& creature) {
    for (Creature* c = list.front(); c; c = CreatureList::after(c))
        if (c != &creature && c->x == creature.x && c->y == creature.y) return c;
    return nullptr;
}

}  // namespace

bool growOccupancyTable(Occupancy& index, OccupancyTable& table) {
    try {
        table.entries.reserve(std::max<std::size_t>(2 * table.entries.capacity(), 1024));
        return true;
    } catch (const std::bad_alloc&) {
        makeLame(index);
        return false;
    }
}

void beginOccupancyStep(Occupancy& index, CreatureList& list, std::int32_t columns, std::int32_t rows) {
    index.lame = false;
    const std::int32_t blockRows = (rows >> Occupancy::blockShift) + 1;
    const std::size_t blocks =
        static_cast<std::size_t>((columns >> Occupancy::blockShift) + 1) * static_cast<std::size_t>(blockRows);
    if (index.rows != rows || index.blockRows != blockRows || index.now.first.size() != blocks ||
        index.before.first.size() != blocks) {
        index.rows = rows;
        index.blockRows = blockRows;
        index.before = OccupancyTable{};
        index.now = OccupancyTable{};
        index.beforeValid = false;
        index.searched = false;
        try {
            index.before.first.assign(blocks, 0);
            index.now.first.assign(blocks, 0);
        } catch (const std::bad_alloc&) {
            makeLame(index);
            return;
        }
    }
    if (ListKeys<Creature>(list).changes() != index.listChanges) index.beforeValid = false;
    clearTable(index.now);
    index.recording = index.recordedFromStart = index.searched;
    if (!index.recording) index.beforeValid = false;  // visits will move creatures unrecorded
    index.searched = false;
}

void endOccupancyStep(Occupancy& index, CreatureList& list) {
    if (index.lame) {
        index.beforeValid = false;
        clearTable(index.now);
        return;
    }
    if (index.recordedFromStart) {
        std::swap(index.before, index.now);
        index.beforeValid = true;
        index.listChanges = ListKeys<Creature>(list).changes();
    } else {
        index.beforeValid = false;
    }
    clearTable(index.now);
}

Creature* firstOtherOnCell(Occupancy& index, CreatureList& list, const Creature& creature) {
    index.searched = true;
    if (index.lame) return firstOnCellByWalk(list, creature);
    // `before` and `now` cover the list when the step has recorded from its start
    // on top of a valid `before` (a step that does not record starts with `before`
    // invalid), or since a walk earlier in this step.
    if (!index.beforeValid) {
        // One walk records every creature where it stands now; with what the step
        // records from here on, that covers the list for the rest of the step.
        clearTable(index.before);
        for (const Creature* c = list.front(); c && !index.lame; c = CreatureList::after(c))
            occupancyRecordIn(index, index.before, *c);
        if (index.lame) return firstOnCellByWalk(list, creature);
        index.beforeValid = true;
    }
    index.recording = true;
    const ListKeys<Creature> keys(list);
    return firstIn(index, index.now, keys, creature, firstIn(index, index.before, keys, creature, nullptr));
}

}  // namespace vivarix
