#include "sim/occupancy.h"

#include <cstddef>
#include <utility>

namespace vivarix {

namespace {

std::int32_t cellOf(const Occupancy& index, const Creature& c) { return c.x * index.rows + c.y; }

std::size_t blockOf(const Occupancy& index, const Creature& c) {
    return static_cast<std::size_t>((c.x >> Occupancy::blockShift) * index.blockRows + (c.y >> Occupancy::blockShift));
}

void clearTable(OccupancyTable& table) {
    for (const std::int32_t block : table.touched) table.first[static_cast<std::size_t>(block)] = 0;
    table.touched.clear();
    table.entries.clear();
}

void record(const Occupancy& index, OccupancyTable& table, const Creature& creature) {
    const std::size_t block = blockOf(index, creature);
    std::uint32_t& head = table.first[block];
    if (head == 0) table.touched.push_back(static_cast<std::int32_t>(block));
    table.entries.push_back({CreatureList::elementId(&creature), cellOf(index, creature), head});
    head = static_cast<std::uint32_t>(table.entries.size());
}

// The first in list order of the live creatures other than `creature` that stand
// on its cell and are recorded there in `table`, or `best` if that comes first.
Creature* firstIn(const Occupancy& index, const OccupancyTable& table, const CreatureList& list,
                  const Creature& creature, Creature* best) {
    const std::int32_t cell = cellOf(index, creature);
    for (std::uint32_t k = table.first[blockOf(index, creature)]; k != 0;) {
        const OccupancyEntry& entry = table.entries[k - 1];
        k = entry.next;
        if (entry.cell != cell) continue;
        Creature* other = list.recordById(entry.element);
        if (other == &creature || !CreatureList::isLive(other) || other->x != creature.x || other->y != creature.y)
            continue;
        if (!best || CreatureList::precedes(other, best)) best = other;
    }
    return best;
}

}  // namespace

void beginOccupancyStep(Occupancy& index, const CreatureList& list, std::int32_t columns, std::int32_t rows) {
    const std::int32_t blockRows = (rows >> Occupancy::blockShift) + 1;
    const std::size_t blocks =
        static_cast<std::size_t>((columns >> Occupancy::blockShift) + 1) * static_cast<std::size_t>(blockRows);
    if (index.rows != rows || index.blockRows != blockRows || index.now.first.size() != blocks) {
        index.rows = rows;
        index.blockRows = blockRows;
        index.before = OccupancyTable{};
        index.now = OccupancyTable{};
        index.before.first.assign(blocks, 0);
        index.now.first.assign(blocks, 0);
        index.beforeValid = false;
    }
    if (list.modifications() != index.listChanges) index.beforeValid = false;
    clearTable(index.now);
    index.recording = index.recordedFromStart = index.searched;
    if (!index.recording) index.beforeValid = false;  // visits will move creatures unrecorded
    index.searched = false;
}

void occupancyRecordNow(Occupancy& index, const Creature& creature) { record(index, index.now, creature); }

void endOccupancyStep(Occupancy& index, const CreatureList& list) {
    if (index.recordedFromStart) {
        std::swap(index.before, index.now);
        index.beforeValid = true;
        index.listChanges = list.modifications();
    } else {
        index.beforeValid = false;
    }
    clearTable(index.now);
}

void forgetOccupancy(Occupancy& index) { index.beforeValid = false; }

Creature* firstOtherOnCell(Occupancy& index, const CreatureList& list, const Creature& creature) {
    index.searched = true;
    // `before` and `now` cover the list when the step has recorded from its start
    // on top of a valid `before` (a step that does not record starts with `before`
    // invalid), or since a walk earlier in this step.
    if (!index.beforeValid) {
        // One walk records every creature where it stands now; with what the step
        // records from here on, that covers the list for the rest of the step.
        clearTable(index.before);
        for (const Creature* c = list.front(); c; c = CreatureList::after(c)) record(index, index.before, *c);
        index.beforeValid = true;
    }
    index.recording = true;
    return firstIn(index, index.now, list, creature, firstIn(index, index.before, list, creature, nullptr));
}

}  // namespace vivarix
