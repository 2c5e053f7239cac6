#include <gtest/gtest.h>

#include "lab_stats.h"
#include "support/tiny_plate.h"

namespace vivarix::lab {
namespace {

Creature withGenes(std::int16_t kind, std::int16_t v, std::int16_t r, std::int32_t colour) {
    Creature c = test::creatureAt(100, 100, kind);
    c.geneV = v;
    c.geneR = r;
    c.colour = colour;
    return c;
}

TEST(LabStats, StrainsTopColourAndMeansPerKind) {
    test::TinyPlate plate;
    // Blue: colours 30, 7, 30, 7, 9 (30 and 7 tie: 7 is the top); red: none.
    for (const auto& [v, colour] : {std::pair{1, 30}, {2, 7}, {2, 30}, {0, 7}, {2, 9}})
        test::pushCreature(plate.state, withGenes(0, static_cast<std::int16_t>(v), 1, colour));
    const auto stats = kindStats(plate.state.creatureList);
    EXPECT_EQ(stats[0].strains, 3);
    EXPECT_EQ(stats[0].topColour, 7);
    EXPECT_EQ(stats[0].topCount, 2);
    EXPECT_EQ(statsColumns(stats), ",3,7,2,1.400,1.000,2.000,2.000,2.000,2.000,0,,0,,,,,,");

    // A red majority of one colour; 2/3 rounds to 0.667, 1/3 to 0.333.
    test::pushCreature(plate.state, withGenes(1, 2, 0, 117));
    test::pushCreature(plate.state, withGenes(1, 0, 1, 117));
    test::pushCreature(plate.state, withGenes(1, 0, 0, 5));
    EXPECT_EQ(statsColumns(kindStats(plate.state.creatureList)),
              ",3,7,2,1.400,1.000,2.000,2.000,2.000,2.000,2,117,2,0.667,0.333,2.000,2.000,2.000,2.000");
}

TEST(LabStats, TheHeaderNamesTwentyColumns) {
    EXPECT_EQ(statsHeader(),
              ",strains0,top0,topCount0,gene0_0,gene0_1,gene0_2,gene0_3,gene0_4,gene0_5"
              ",strains1,top1,topCount1,gene1_0,gene1_1,gene1_2,gene1_3,gene1_4,gene1_5");
    EXPECT_EQ(statsColumns(kindStats(CreatureList{})), ",0,,0,,,,,,,0,,0,,,,,,");
}

}  // namespace
}  // namespace vivarix::lab
