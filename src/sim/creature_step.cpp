#include "sim/creature_step.h"

#include <cstring>

#include "platform/core/wrap.h"
#include "sim/occupancy.h"
#include "sim/repaint_queue.h"
#include "sim/reproduction.h"

namespace vivarix {

namespace {

// Deletes the current element.  When it was the first, its successor becomes
// current and the walk's next step passes over it: record it, since the step will
// not visit it.
void deleteCurrent(SimState& state) {
    deleteElement(state.creatureList);
    if (const Creature* now = state.creatureList.current()) occupancyRecord(state.occupancy, *now);
}

void removeCreature(SimState& state, Creature& victim) {
    // `victim` must be current; the list rules pick the new current element.
    state.kindCount[static_cast<std::size_t>(victim.kind)] -= 1;
    deleteCurrent(state);
}

// The first creature in list order other than `attacker` on the attacker's cell,
// or nullptr.
Creature* findOpponent(SimState& state, Creature& attacker) {
    return firstOtherOnCell(state.occupancy, state.creatureList, attacker);
}

// The attack of a blocked creature whose stress passed its tolerance.  Returns the
// subject of the rest of the visit (nullptr when the list became empty).
Creature* attack(SimState& state, Creature& a) {
    CreatureList& list = state.creatureList;
    Creature* q = findOpponent(state, a);
    if (!q) {
        changeCurrentElement(list, &a);
        return &a;
    }
    changeCurrentElement(list, q);
    const bool qStressed = q->stress > q->stressTolerance;
    if (q->kind == a.kind) {
        if (qStressed) {  // standoff: both survive, each loses the other's stress
            const std::int32_t before = a.stress;
            a.stress = wrapSub32(a.stress, q->stress);
            q->stress = wrapSub32(q->stress, before);
        } else {
            a.stomach = wrapAdd32(a.stomach, q->stomach);
            a.stress = 0;
            removeCreature(state, *q);
        }
        changeCurrentElement(list, &a);
        return &a;
    }
    if (qStressed) {  // mutual removal
        state.kindCount[0] -= 1;
        state.kindCount[1] -= 1;
        deleteCurrent(state);
        changeCurrentElement(list, &a);
        deleteCurrent(state);
        nextElement(list);  // whether or not it reports none
        return list.current();
    }
    a.stomach = wrapAdd32(a.stomach, wrapMul32(2, q->stomach));
    a.stress = 0;
    removeCreature(state, *q);
    changeCurrentElement(list, &a);
    return &a;
}

// Steps 4 to 11 of a visit: hunger, ageing, turning, moving, and a blocked move.
// Returns the subject of the rest of the visit.
Creature* moveCreature(SimState& state, Creature& a) {
    a.stomach = wrapSub32(a.stomach, 1);
    a.age = wrapAdd32(a.age, 1);

    std::int32_t heading = a.direction + turnFor(a, randomInt(state.random, 10));
    if (heading < 0) heading += 8;
    if (heading > 7) heading -= 8;
    a.direction = static_cast<std::int16_t>(heading);

    const std::int32_t oldX = a.x;
    const std::int32_t oldY = a.y;
    std::int32_t x = oldX;
    std::int32_t y = oldY;
    if (heading >= 0 && heading <= 7) {  // a heading outside 0..7 does not move
        x += headingDx[heading];
        y += headingDy[heading];
    }
    if (x >= state.plateWidth || y >= state.plateHeight || x <= 0 || y <= 0 ||
        cellAt(state.plateGrid, x, y) == -1) {
        x = oldX;
        y = oldY;
    }
    if (cellAt(state.creatureGrid, x, y) == 0) {
        a.x = x;
        a.y = y;
        return &a;
    }

    // Blocked: back on the old cell, more stress, perhaps an attack.
    const std::int16_t mark = cellAt(state.creatureGrid, oldX, oldY);
    a.stress = wrapAdd32(a.stress, mark == a.kind + 1 ? 10 : 3);
    if (a.stress > a.stressTolerance) return attack(state, a);
    return &a;
}

void eat(SimState& state, Creature& s) {
    if (s.stomach >= s.stomachCapacity) return;
    std::int16_t& cell = cellAt(state.plateGrid, s.x, s.y);
    if (cell <= 0) return;
    s.stomach = wrapAdd32(s.stomach, 3 * cell);
    cell = 0;
    // During a tick the nutrient list's current element is its last one, so this
    // appends; the repaint's level stays 0.
    queueRepaint(state, s.x, s.y);
}

// Asks the cache for the node two creatures ahead and for the grid cells that the
// next creature can reach.  Only follows links: a node removed meanwhile stays
// allocated for reuse, so a stale link merely fetches something not needed.
void prefetchNeighbourhood(const SimState& state, const Creature& a) {
    const Creature* b = CreatureList::after(&a);
    if (!b) return;
    if (const Creature* c = CreatureList::after(b)) __builtin_prefetch(CreatureList::after(c));
    if (b->x <= 0 || b->x + 1 >= state.plateGrid.columns || b->y < 0 || b->y >= state.plateGrid.rows) return;
    const std::int32_t cell = cellIndex(state.plateGrid, b->x, b->y);
    const std::int16_t* plate = &state.plateGrid.cells[static_cast<std::size_t>(cell)];
    const std::int16_t* marks = &state.creatureGrid.cells[static_cast<std::size_t>(cell)];
    for (const std::int32_t offset : {-state.plateGrid.rows, 0, state.plateGrid.rows}) {
        __builtin_prefetch(plate + offset);
        __builtin_prefetch(marks + offset, 1);
    }
}

// A large list whose walk jumps around memory is put back into list order first:
// one walk, where the step would miss the cache at every jump anyway.  Out of
// line, so that the re-laying code does not crowd the walk's.
[[gnu::noinline]] void relayScattered(CreatureList& list) { relayInOrder(list); }

}  // namespace

void stepCreatures(SimState& state) {
    CreatureList& list = state.creatureList;
    if (list.size() >= relayMinimum && list.farLinks() > list.size() / 8) relayScattered(list);
    resetList(list);
    std::memset(state.creatureGrid.cells.data(), 0, state.creatureGrid.cells.size() * sizeof(std::int16_t));
    beginOccupancyStep(state.occupancy, list, state.plateGrid.columns, state.plateGrid.rows);

    // A small population stays in the cache; a large one's walk jumps around the
    // plate and the node blocks.
    const bool prefetch = list.size() >= relayMinimum;
    while (Creature* a = nextElement(list)) {
        if (prefetch) prefetchNeighbourhood(state, *a);
        Creature* s = moveCreature(state, *a);
        if (!s) break;  // a mutual removal took the last two creatures

        cellAt(state.creatureGrid, s->x, s->y) = static_cast<std::int16_t>(s->kind + 1);
        occupancyRecord(state.occupancy, *s);
        eat(state, *s);

        if (s->age > s->maxAge || s->stomach < 0) {
            removeCreature(state, *s);  // s is current
            continue;
        }
        if (s->age > s->maturityAge) {
            s->stomach >>= 1;
            s->age >>= 1;
            const std::size_t before = list.size();
            reproduceCreature(state, *s);
            if (list.size() != before) occupancyRecord(state.occupancy, *list.current());
        }
    }
    endOccupancyStep(state.occupancy, list);
}

}  // namespace vivarix
