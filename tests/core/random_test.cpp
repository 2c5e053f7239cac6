#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "platform/core/random.h"

namespace vivarix {
namespace {

TEST(RandomGenerator, SeedOneGivesTheReferenceStream) {
    Random r;
    seedRandom(r, 1);
    EXPECT_EQ(nextRandom64(r), 0xb3f2af6d0fc710c5ull);
    EXPECT_EQ(nextRandom64(r), 0x853b559647364ceaull);
}

TEST(RandomGenerator, SeedOneGivesTheReferenceDraws) {
    Random r;
    seedRandom(r, 1);
    const std::array<std::int32_t, 5> expected = {70, 52, 57, 39, 70};
    for (const std::int32_t value : expected) EXPECT_EQ(randomInt(r, 100), value);
    EXPECT_EQ(r.draws, 5u);
}

TEST(RandomGenerator, SameSeedSameStreamOtherSeedOtherStream) {
    Random a, b, c;
    seedRandom(a, 42);
    seedRandom(b, 42);
    seedRandom(c, 43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const std::uint64_t va = nextRandom64(a);
        EXPECT_EQ(va, nextRandom64(b));
        differs = differs || va != nextRandom64(c);
    }
    EXPECT_TRUE(differs);
}

TEST(RandomGenerator, NegativeBoundDrawsNothing) {
    Random r;
    seedRandom(r, 7);
    Random copy = r;
    EXPECT_EQ(randomInt(r, -1), INT32_MIN);
    EXPECT_EQ(randomInt(r, -2147483647 - 1), INT32_MIN);
    EXPECT_EQ(r.draws, 0u);
    EXPECT_EQ(nextRandom64(r), nextRandom64(copy));
}

TEST(RandomGenerator, ZeroBoundAlwaysGivesZero) {
    Random r;
    seedRandom(r, 3);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(randomInt(r, 0), 0);
}

TEST(RandomGenerator, EveryValueOfSevenIsEquallyLikely) {
    Random r;
    seedRandom(r, 12345);
    std::array<int, 8> counts{};
    const int n = 80000;
    for (int i = 0; i < n; ++i) {
        const std::int32_t v = randomInt(r, 7);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 7);
        ++counts[static_cast<std::size_t>(v)];
    }
    // Expected 10000 each; 5 standard deviations is about 470.
    for (const int c : counts) EXPECT_NEAR(c, n / 8, 500);
}

TEST(RandomGenerator, LargestBoundStaysInRange) {
    Random r;
    seedRandom(r, 9);
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t v = randomInt(r, INT32_MAX);
        ASSERT_GE(v, 0);
    }
}

TEST(ScriptedDraws, ComeFirstInOrderThenTheGeneratorResumes) {
    Random scripted, plain;
    DrawScript script;
    seedRandom(scripted, 5);
    seedRandom(plain, 5);
    scripted.script = &script;
    scriptDraws(scripted, {3, 0, 10});
    EXPECT_EQ(scriptedDrawsLeft(scripted), 3u);
    EXPECT_EQ(randomInt(scripted, 10), 3);
    EXPECT_EQ(randomInt(scripted, 10), 0);
    scriptDraws(scripted, {1});  // appended after the value not yet used
    EXPECT_EQ(randomInt(scripted, 10), 10);
    EXPECT_EQ(randomInt(scripted, 1), 1);
    EXPECT_EQ(scriptedDrawsLeft(scripted), 0u);
    // Scripted draws do not advance the generator.
    EXPECT_EQ(randomInt(scripted, 1000), randomInt(plain, 1000));
    EXPECT_EQ(scripted.draws, 5u);
}

TEST(ScriptedDraws, AValueOutsideTheBoundIsATestFault) {
    Random r;
    DrawScript script;
    seedRandom(r, 5);
    r.script = &script;
    scriptDraws(r, {11});
    EXPECT_THROW(randomInt(r, 10), std::out_of_range);
}

TEST(ScriptedDraws, BelongToTheGeneratorTheyAreAttachedTo) {
    Random r, plain;
    seedRandom(r, 5);
    seedRandom(plain, 5);
    EXPECT_THROW(scriptDraws(r, {1}), std::logic_error);
    DrawScript script;
    r.script = &script;
    scriptDraws(r, {4, 4});
    Random copy = r;  // continues the stream, without the script
    EXPECT_EQ(randomInt(copy, 1000), randomInt(plain, 1000));
    seedRandom(r, 6);  // keeps the script
    EXPECT_EQ(randomInt(r, 10), 4);
    r = plain;  // takes the stream and keeps the script
    EXPECT_EQ(randomInt(r, 10), 4);
    EXPECT_EQ(randomInt(r, 1000), randomInt(copy, 1000));
}

}  // namespace
}  // namespace vivarix
