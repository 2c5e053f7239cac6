#include "sim/plate_setup.h"

#include "sim/gene_colour.h"
#include "sim/repaint_queue.h"

namespace vivarix {

void layOutPlateGrid(SimState& state, bool randomNutrient) {
    for (std::int32_t x = 0; x <= state.plateWidth; ++x) {
        for (std::int32_t y = 0; y <= state.plateHeight; ++y) {
            std::int16_t& cell = cellAt(state.plateGrid, x, y);
            if (readPixel(state.graphics, x, y) != plateColour) {
                cell = -1;
            } else if (!randomNutrient) {
                cell = 0;
            } else {
                cell = static_cast<std::int16_t>(randomInt(state.random, 3) + 1);
                if (cell == 2) continue;
                if (NutriumParticle* p = queueRepaint(state, x, y)) p->level = cell;
            }
        }
    }
}

PlaceResult placeCreatureByHand(SimState& state, const HandPlacement& placement) {
    const std::int32_t x = placement.x;
    const std::int32_t y = placement.y;
    if (cellOrOff(state.plateGrid, x, y) == -1) return {PlaceRefusal::offPlate};
    if (cellOrOff(state.creatureGrid, x, y) != 0) return {PlaceRefusal::occupied};

    Creature* c = addElement(state.creatureList);
    if (!c) {
        reportNoMemory(state);
        return {PlaceRefusal::noMemory};
    }
    c->x = x;
    c->y = y;
    c->stomach = 100;
    c->age = 0;
    c->kind = placement.kind == 0 ? 0 : 1;
    c->maxAge = placement.maxAge;
    c->stomachCapacity = placement.stomachCapacity;
    c->sexMarker = 3;
    c->maturityAge = placement.maturityAge;
    c->stress = 0;
    c->stressTolerance = 10;
    c->kPoints = 1;
    c->geneV = c->geneR = c->geneSr = c->geneRw = c->geneSl = c->geneL = 2;
    c->direction = static_cast<std::int16_t>(randomInt(state.random, 7));
    c->colour = geneColour(*c);
    state.kindCount[static_cast<std::size_t>(c->kind)] += 1;
    return {};
}

}  // namespace vivarix
