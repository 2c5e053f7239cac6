// vivarix-step-speed [COUNT ...]: what the creature step costs per creature on a
// plate of COUNT creatures (1,000 and 10,000 by default), timed with the steady
// clock alone, so that the same source runs natively and as WebAssembly under node
// (make web-bench prints both side by side).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "sim/creature_step.h"
#include "support/spread_plate.h"

namespace {

using namespace vivarix;

// The step, called through a pointer the optimisers cannot see through, so that it
// stays a function of its own entered every tick, as in the program.  V8 moves a
// WebAssembly function to its optimising tier only when it is entered again: a
// step inlined into one long loop would be timed in the baseline tier.
void (*volatile step)(SimState&) = stepCreatures;

// Nanoseconds per creature visited over about `seconds` of steps; the plate is
// laid anew (outside the timing) when its population drifts more than a fifth away.
double nanosecondsPerCreature(std::int64_t target, double seconds) {
    using Clock = std::chrono::steady_clock;
    auto plate = bench::spreadPlate(target, 7);
    std::int64_t visits = 0;
    Clock::duration spent{};
    for (std::uint64_t tick = 0; std::chrono::duration<double>(spent).count() < seconds; ++tick) {
        const auto n = static_cast<std::int64_t>(plate->creatureList.size());
        if (n < target * 4 / 5 || n > target * 6 / 5) plate = bench::spreadPlate(target, tick + 11);
        visits += static_cast<std::int64_t>(plate->creatureList.size());
        const Clock::time_point start = Clock::now();
        step(*plate);
        spent += Clock::now() - start;
        clearList(plate->nutriumList);
    }
    return std::chrono::duration<double, std::nano>(spent).count() / static_cast<double>(visits);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::int64_t> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoll(argv[i]));
    if (counts.empty()) counts = {1000, 10000};
    for (const std::int64_t count : counts)
        std::printf("stepCreatures, %lld creatures: %.1f ns a creature\n", static_cast<long long>(count),
                    nanosecondsPerCreature(count, 2.0));
    return 0;
}
