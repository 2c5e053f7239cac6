// Uniform random integers for the whole program.
//
// The generator is xoshiro256** seeded through SplitMix64, so one 64-bit seed gives
// the same stream on every machine: the desktop program seeds it from the clock,
// vivarix-lab and the tests seed it explicitly.  The order of draws is part of the
// simulation's behaviour, so every caller documents which draws it makes and when.
//
// Tests can script the values of single draws through a DrawScript that they own and
// attach to a generator: scripted values are handed out, in order, before the
// generator is consulted again.  A generator without a script (every generator of a
// normal run) pays one pointer test per draw for this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vivarix {

// Values for the next draws of the generators it is attached to, front first.
class DrawScript {
public:
    // Appends values after those not yet handed out.
    void append(const std::vector<std::int32_t>& more);
    // Values not yet handed out.
    std::size_t left() const { return values.size() - next; }
    // Hands out the next value for a draw in 0..n.  Precondition: left() > 0.  A
    // value outside 0..n throws std::out_of_range: it is a fault of the test that
    // scripted it.
    std::int32_t take(std::int32_t n);

private:
    std::vector<std::int32_t> values;
    std::size_t next = 0;  // index of the next value to hand out
};

struct Random {
    Random() = default;
    // A copy continues the same stream with the same count of draws, but without
    // the script: the script belongs to the generator it was attached to.
    Random(const Random& other) : draws(other.draws) { copyStream(other); }
    Random& operator=(const Random& other) {
        draws = other.draws;
        copyStream(other);
        return *this;
    }
    ~Random() = default;

    std::uint64_t s[4] = {0, 0, 0, 0};
    std::uint64_t draws = 0;        // draws taken so far (scripted ones included)
    DrawScript* script = nullptr;   // not owned; nullptr outside tests

private:
    void copyStream(const Random& other) {
        for (int i = 0; i < 4; ++i) s[i] = other.s[i];
    }
};

// Fills the four state words from four successive SplitMix64 outputs of `seed` and
// restarts the count of draws.  An attached script stays attached.
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

// A generated draw in 0..n (n >= 0), the script left aside.
inline std::int32_t generatedDraw(Random& random, std::int32_t n) {
    ++random.draws;
    const unsigned __int128 product =
        static_cast<unsigned __int128>(nextRandom64(random)) * (static_cast<std::uint64_t>(n) + 1);
    return static_cast<std::int32_t>(product >> 64);
}

// The draw of a generator with a script attached (n >= 0): the next scripted value,
// or a generated one when the script is used up.
std::int32_t drawWithScript(Random& random, std::int32_t n);

// A uniform integer in 0..n, both ends included: the high 64 bits of the exact
// 128-bit product of the next output and n + 1.  For n < 0 the result is
// -2147483648 and nothing is drawn.
inline std::int32_t randomInt(Random& random, std::int32_t n) {
    if (n < 0) return INT32_MIN;
    if (random.script) [[unlikely]]
        return drawWithScript(random, n);
    return generatedDraw(random, n);
}

// Appends values to the script attached to `random` (tests only); a generator
// without a script is a fault of the test and throws std::logic_error.
void scriptDraws(Random& random, const std::vector<std::int32_t>& values);

// Scripted values not yet handed out; 0 without a script.
std::size_t scriptedDrawsLeft(const Random& random);

}  // namespace vivarix
