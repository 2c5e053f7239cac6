#include "platform/core/random.h"

#include <stdexcept>
#include <utility>

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

void seedRandom(Random& random, std::uint64_t seed) {
    for (auto& word : random.s) word = splitMix64(seed);
    random.scripted.clear();
    random.scriptedNext = 0;
    random.draws = 0;
}

std::int32_t scriptedDraw(Random& random, std::int32_t n) {
    ++random.draws;
    const std::int32_t value = random.scripted[random.scriptedNext++];
    if (value < 0 || value > n) throw std::out_of_range("scripted draw outside 0..n");
    return value;
}

void scriptDraws(Random& random, std::vector<std::int32_t> values) {
    // Keep values not yet handed out, then append the new ones.
    random.scripted.erase(random.scripted.begin(),
                          random.scripted.begin() + static_cast<std::ptrdiff_t>(random.scriptedNext));
    random.scriptedNext = 0;
    random.scripted.insert(random.scripted.end(), values.begin(), values.end());
}

std::size_t scriptedDrawsLeft(const Random& random) {
    return random.scripted.size() - random.scriptedNext;
}

}  // namespace vivarix
