#include "platform/core/random.h"

#include <stdexcept>

namespace vivarix {

namespace {

std::uint64_t splitMix64(std::uint64_t& x) {
    x += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void DrawScript::append(const std::vector<std::int32_t>& more) {
    values.erase(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(next));
    next = 0;
    values.insert(values.end(), more.begin(), more.end());
}

std::int32_t DrawScript::take(std::int32_t n) {
    const std::int32_t value = values[next++];
    if (value < 0 || value > n) throw std::out_of_range("scripted draw outside 0..n");
    return value;
}

void seedRandom(Random& random, std::uint64_t seed) {
    for (auto& word : random.s) word = splitMix64(seed);
    random.draws = 0;
}

std::int32_t drawWithScript(Random& random, std::int32_t n) {
    if (random.script->left() == 0) return generatedDraw(random, n);
    ++random.draws;
    return random.script->take(n);
}

void scriptDraws(Random& random, const std::vector<std::int32_t>& values) {
    if (!random.script) throw std::logic_error("scriptDraws on a generator without a script");
    random.script->append(values);
}

std::size_t scriptedDrawsLeft(const Random& random) { return random.script ? random.script->left() : 0; }

}  // namespace vivarix
