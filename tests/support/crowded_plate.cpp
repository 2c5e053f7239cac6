#include "support/crowded_plate.h"

#include "sim/gene_colour.h"

namespace vivarix::test {

void crowdedPlate(SimState& s, std::uint64_t seed, std::int32_t creatures) {
    allocatePlate(s);
    seedRandom(s.random, seed);
    Random setup;
    seedRandom(setup, seed ^ 0x5EED);
    for (std::int32_t x = 0; x <= s.plateWidth; ++x)
        for (std::int32_t y = 0; y <= s.plateHeight; ++y) {
            const std::int32_t dx = x - 230, dy = y - 230;
            cellAt(s.plateGrid, x, y) =
                dx * dx + dy * dy < 220 * 220 ? static_cast<std::int16_t>(randomInt(setup, 3)) : std::int16_t{-1};
        }
    for (std::int32_t i = 0; i < creatures; ++i) {
        Creature* c = addElement(s.creatureList);
        c->x = 200 + randomInt(setup, 24);
        c->y = 200 + randomInt(setup, 24);
        c->stomach = 50 + randomInt(setup, 300);
        c->age = randomInt(setup, 300);
        c->kind = static_cast<std::int16_t>(randomInt(setup, 1));
        c->maxAge = 600 + randomInt(setup, 600);
        c->stomachCapacity = 200 + randomInt(setup, 400);
        c->sexMarker = 3;
        c->maturityAge = 200 + randomInt(setup, 200);
        c->stress = randomInt(setup, 20);
        c->stressTolerance = randomInt(setup, 12) - 2;
        c->kPoints = 1;
        for (std::int16_t* gene : {&c->geneV, &c->geneR, &c->geneSr, &c->geneRw, &c->geneSl, &c->geneL})
            *gene = static_cast<std::int16_t>(randomInt(setup, 2));
        c->direction = static_cast<std::int16_t>(randomInt(setup, 7));
        c->colour = geneColour(*c);
        s.kindCount[static_cast<std::size_t>(c->kind)] += 1;
    }
}

}  // namespace vivarix::test
