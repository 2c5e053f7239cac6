// geneColour: genes written in hex, joined, read back as a decimal, modulo 255, put
// in the blue channel for kind 0 and in the red channel otherwise.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/core/colour.h"
#include "sim/gene_colour.h"
#include "support/tiny_plate.h"

namespace vivarix {
namespace {

struct ColourRow {
    const char* name;
    std::array<std::int16_t, 6> genes;  // V, R, Sr, Rw, Sl, L
    std::int32_t value;                 // expected channel value 0..254
};

Creature withGenes(const std::array<std::int16_t, 6>& g, std::int16_t kind) {
    Creature c = test::creatureAt(100, 100, kind);
    c.geneV = g[0];
    c.geneR = g[1];
    c.geneSr = g[2];
    c.geneRw = g[3];
    c.geneSl = g[4];
    c.geneL = g[5];
    return c;
}

// Values worked out by hand from the joined text.
constexpr ColourRow rows[] = {
    {"all 2: 222222", {2, 2, 2, 2, 2, 2}, 117},
    {"geneL 1: 222221", {2, 2, 2, 2, 2, 1}, 116},
    {"geneV 1: 122222", {1, 2, 2, 2, 2, 2}, 77},
    {"leading 0 drops out: 022222", {0, 2, 2, 2, 2, 2}, 37},
    {"all 0", {0, 0, 0, 0, 0, 0}, 0},
    {"single digits 999999", {9, 9, 9, 9, 9, 9}, 144},
    {"100000", {1, 0, 0, 0, 0, 0}, 40},
    {"12 writes C and ends the reading: 2C0000", {2, 12, 0, 0, 0, 0}, 2},
    {"10 first writes A: nothing read", {10, 2, 2, 2, 2, 2}, 0},
    {"10 last hides only itself: 22222A", {2, 2, 2, 2, 2, 10}, 37},
    {"16 writes two digits: 1022222", {16, 2, 2, 2, 2, 2}, 182},
    {"16 last: 2222210", {2, 2, 2, 2, 2, 16}, 140},
    {"negative gene writes FFFFFFFF first", {-1, 2, 2, 2, 2, 2}, 0},
    {"negative gene second: 2FFFFFFFF...", {2, -1, 2, 2, 2, 2}, 2},
    // Twelve nines mod 2^32 = 3567587327 and eighteen nines mod 2^32 = 2808348671, both
    // above 2^31: the remainder is taken of the unsigned reading.
    {"153 each: twelve nines", {153, 153, 153, 153, 153, 153}, 137},
    {"2457 each: eighteen nines", {2457, 2457, 2457, 2457, 2457, 2457}, 11},
    {"2457 first writes 999: 99922222", {2457, 2, 2, 2, 2, 2}, 217},
};

TEST(GeneColour, KindZeroIsBlueChannelOnly) {
    for (const ColourRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(geneColour(withGenes(row.genes, 0)), rgb(0, 0, row.value));
    }
}

TEST(GeneColour, KindOneIsRedChannelOnly) {
    for (const ColourRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(geneColour(withGenes(row.genes, 1)), rgb(row.value, 0, 0));
    }
}

TEST(GeneColour, AnyOtherKindAlsoUsesRed) {
    EXPECT_EQ(geneColour(withGenes({2, 2, 2, 2, 2, 2}, 2)), 117);
    EXPECT_EQ(geneColour(withGenes({2, 2, 2, 2, 2, 2}, -1)), 117);
}

TEST(GeneColour, IgnoresEveryFieldButGenesAndKind) {
    Creature a = withGenes({1, 2, 0, 2, 1, 2}, 0);
    Creature b = a;
    b.x = 7;
    b.y = 300;
    b.stomach = -5;
    b.age = 999;
    b.colour = 0x123456;
    b.maxAge = 1;
    b.stomachCapacity = 2;
    b.sexMarker = -3;
    b.maturityAge = 4;
    b.stress = 77;
    b.stressTolerance = -9;
    b.kPoints = 30000;
    b.direction = 6;
    EXPECT_EQ(geneColour(a), geneColour(b));
    EXPECT_EQ(geneColour(a), rgb(0, 0, 107));  // 120212 mod 255
}

}  // namespace
}  // namespace vivarix
