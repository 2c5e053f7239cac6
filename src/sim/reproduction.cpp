#include "sim/reproduction.h"

#include "platform/core/wrap.h"
#include "sim/gene_colour.h"

namespace vivarix {

namespace {

// One mutation chance: randomInt(100) > 90 hits (10 of 101 values) and draws the
// change right away.
bool chanceHits(Random& random) { return randomInt(random, 100) > 90; }

void loseUpTo10(Random& random, std::int32_t& trait) {
    if (chanceHits(random)) trait = wrapAdd32(trait, randomInt(random, 10) - 10);
}

void loseGene(Random& random, std::int16_t& gene) {
    if (chanceHits(random)) {
        const std::int32_t value = gene + randomInt(random, 1) - 1;
        gene = static_cast<std::int16_t>(value < 0 ? 0 : value);
    }
}

}  // namespace

void reproduceCreature(SimState& state, Creature& parent) {
    Creature* child = addElement(state.creatureList);
    if (!child) {
        reportNoMemory(state);
        ++state.memoryDetours;
        return;
    }
    state.kindCount[static_cast<std::size_t>(parent.kind)] += 1;
    *child = parent;
    child->age = 0;
    child->stress = 0;

    Random& random = state.random;
    child->direction = static_cast<std::int16_t>(randomInt(random, 7));
    if (chanceHits(random)) child->kPoints = wrapTo16(child->kPoints + randomInt(random, 1) - 1);
    loseUpTo10(random, child->maxAge);
    loseUpTo10(random, child->maxAge);
    loseUpTo10(random, child->stomachCapacity);
    loseUpTo10(random, child->maturityAge);
    loseUpTo10(random, child->stressTolerance);
    loseGene(random, child->geneV);
    loseGene(random, child->geneR);
    loseGene(random, child->geneSr);
    loseGene(random, child->geneRw);
    loseGene(random, child->geneSl);
    loseGene(random, child->geneL);
    child->colour = geneColour(*child);
}

}  // namespace vivarix
