#include "support/tiny_plate.h"

#include <new>

#include "session/control_table.h"

namespace vivarix::test {

TinyPlate::TinyPlate(std::uint64_t seed) {
    allocatePlate(state);
    state.messages = &messages;
    seedRandom(state.random, seed);
    state.random.script = &script;
}

HandPlacement defaultPlacement(std::int32_t x, std::int32_t y, std::int32_t kind) {
    using namespace trackbar;
    return {x, y, kind, magen.initial * magen.perStep, alter.initial * alter.perStep, reif.initial * reif.perStep};
}

ManualFeeding feedingAt(std::int32_t x, std::int32_t y, std::int32_t spread, std::int32_t grains) {
    return {1, x, y, spread * trackbar::spread.perStep, grains * trackbar::grains.perStep};
}

namespace {
template <class F>
void forEachLaidOutCell(const SimState& state, F f) {
    for (std::int32_t x = 0; x <= state.plateWidth; ++x)
        for (std::int32_t y = 0; y <= state.plateHeight; ++y) f(x, y);
}
}  // namespace

void clearPlate(SimState& state) {
    forEachLaidOutCell(state, [&](std::int32_t x, std::int32_t y) { cellAt(state.plateGrid, x, y) = -1; });
}

void fillPlate(SimState& state, std::int16_t level) {
    forEachLaidOutCell(state, [&](std::int32_t x, std::int32_t y) {
        const bool inside = x >= 1 && y >= 1 && x < state.plateWidth && y < state.plateHeight;
        cellAt(state.plateGrid, x, y) = inside ? level : std::int16_t{-1};
    });
}

void fillWholeGrid(SimState& state, std::int16_t level) {
    forEachLaidOutCell(state, [&](std::int32_t x, std::int32_t y) { cellAt(state.plateGrid, x, y) = level; });
}

void setCell(SimState& state, std::int32_t x, std::int32_t y, std::int16_t level) {
    cellAt(state.plateGrid, x, y) = level;
}

std::int16_t cell(const SimState& state, std::int32_t x, std::int32_t y) { return cellAt(state.plateGrid, x, y); }

std::int16_t mark(const SimState& state, std::int32_t x, std::int32_t y) {
    return cellAt(state.creatureGrid, x, y);
}

Creature creatureAt(std::int32_t x, std::int32_t y, std::int16_t kind, std::int16_t direction) {
    Creature c{};
    c.x = x;
    c.y = y;
    c.stomach = 100;
    c.age = 0;
    c.kind = kind;
    c.colour = kind == 0 ? 117 * 65536 : 117;
    c.maxAge = 1280;
    c.stomachCapacity = 640;
    c.sexMarker = 3;
    c.maturityAge = 320;
    c.stress = 0;
    c.stressTolerance = 10;
    c.kPoints = 1;
    c.geneV = c.geneR = c.geneSr = c.geneRw = c.geneSl = c.geneL = 2;
    c.direction = direction;
    return c;
}

Creature& pushCreature(SimState& state, const Creature& fields) {
    if (Creature* last = state.creatureList.back()) changeCurrentElement(state.creatureList, last);
    Creature* c = addElement(state.creatureList);
    if (!c) throw std::bad_alloc();
    *c = fields;
    state.kindCount[static_cast<std::size_t>(fields.kind)] += 1;
    return *c;
}

std::vector<Creature*> creatures(CreatureList& list) {
    std::vector<Creature*> all;
    for (Creature* c = list.front(); c; c = CreatureList::after(c)) all.push_back(c);
    return all;
}

std::vector<NutriumParticle> particles(const NutriumList& list) {
    std::vector<NutriumParticle> all;
    for (const NutriumParticle* p = list.front(); p; p = NutriumList::after(p)) all.push_back(*p);
    return all;
}

std::array<std::int32_t, 3> census(const CreatureList& list) {
    std::array<std::int32_t, 3> counts{};
    for (const Creature* c = list.front(); c; c = CreatureList::after(c))
        counts[c->kind == 0 || c->kind == 1 ? static_cast<std::size_t>(c->kind) : 2] += 1;
    return counts;
}

void scriptRepeated(SimState& state, std::size_t count, std::int32_t value) {
    scriptDraws(state.random, std::vector<std::int32_t>(count, value));
}

void scriptPlainBirth(SimState& state, std::int32_t heading) {
    std::vector<std::int32_t> draws{heading};
    draws.insert(draws.end(), 12, 90);  // 90 is the highest value that misses
    scriptDraws(state.random, std::move(draws));
}

}  // namespace vivarix::test
