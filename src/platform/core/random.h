// Uniform random integers for the whole program.
//
// The generator is xoshiro256** seeded through SplitMix64, so one 64-bit seed gives
// the same stream on every machine: the desktop program seeds it from the clock,
// vivarix-lab and the tests seed it explicitly.  The order of draws is part of the
// simulation's behaviour, so every caller documents which draws it makes and when.
//
// Tests can script the values of single draws: scripted values are handed out, in
// order, before the generator is consulted again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vivarix {

struct Random {
    std::uint64_t s[4] = {0, 0, 0, 0};
    std::vector<std::int32_t> scripted;  // values returned by the next draws, front first
    std::size_t scriptedNext = 0;        // index of the next scripted value
    std::uint64_t draws = 0;             // draws taken so far (scripted ones included)
};

// Fills the four state words from four successive SplitMix64 outputs of `seed`
// and forgets any scripted values.
void seedRandom(Random& random, std::uint64_t seed);

// The next raw 64-bit output of xoshiro256**.
inline std::uint64_t nextRandom64(Random& random) {
    auto rotl = [](std::uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
    std::uint64_t* s = random.s;
    const std::uint64_t result = rotl(s[1] * 5, 7) * 9;
    const std::uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 45);
    return result;
}

// Hands out the next scripted value for a draw in 0..n (tests only).
std::int32_t scriptedDraw(Random& random, std::int32_t n);

// A uniform integer in 0..n, both ends included: the high 64 bits of the exact
// 128-bit product of the next output and n + 1.  For n < 0 the result is
// -2147483648 and nothing is drawn.  A scripted value outside 0..n throws
// std::out_of_range: it is a fault of the test that scripted it.
inline std::int32_t randomInt(Random& random, std::int32_t n) {
    if (n < 0) return INT32_MIN;
    if (random.scriptedNext < random.scripted.size()) return scriptedDraw(random, n);
    ++random.draws;
    const unsigned __int128 product =
        static_cast<unsigned __int128>(nextRandom64(random)) * (static_cast<std::uint64_t>(n) + 1);
    return static_cast<std::int32_t>(product >> 64);
}

// Queues values for the next draws (tests only).
void scriptDraws(Random& random, std::vector<std::int32_t> values);

// Scripted values not yet handed out.
std::size_t scriptedDrawsLeft(const Random& random);

}  // namespace vivarix
