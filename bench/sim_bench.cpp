// Speed of the simulation: the creature step, an empty pass and plate preparation.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "session/plate.h"
#include "support/spread_plate.h"
#include "sim/creature_step.h"
#include "sim/plate_setup.h"
#include "sim/tick.h"

namespace vivarix {
namespace {

using bench::spreadPlate;

// One tick of stepCreatures per iteration; the items are creature visits.  The
// population evolves from tick to tick; when it drifts more than a fifth away
// from the argument the plate is set up again (outside the timing).
void stepCreatures(benchmark::State& bench) {
    const std::int64_t target = bench.range(0);
    auto plate = spreadPlate(target, 7);
    std::int64_t visits = 0;
    for (auto _ : bench) {
        SimState& s = *plate;
        const auto n = static_cast<std::int64_t>(s.creatureList.size());
        if (n < target * 4 / 5 || n > target * 6 / 5) {
            bench.PauseTiming();
            plate = spreadPlate(target, static_cast<std::uint64_t>(visits) + 11);
            bench.ResumeTiming();
        }
        visits += static_cast<std::int64_t>(plate->creatureList.size());
        vivarix::stepCreatures(*plate);
        clearList(plate->nutriumList);
    }
    bench.SetItemsProcessed(visits);
}
BENCHMARK(stepCreatures)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

// A pass at the default feeding with no creature: the three sources, the creature
// step's grid clear, and the frame's emptying of the repaint queue.
void emptyPass(benchmark::State& bench) {
    auto plate = spreadPlate(0, 3);
    SimState& s = *plate;
    for (auto _ : bench) {
        runTick(s);
        settleWithoutFrame(s);
    }
}
BENCHMARK(emptyPass)->Unit(benchmark::kMicrosecond);

// Plate preparation as at start-up: texture, rim, disc, random nutrient, legend.
void preparePlateFirstBuild(benchmark::State& bench) {
    auto plate = spreadPlate(0, 5);
    SimState& s = *plate;
    for (auto _ : bench) layOutPlate(s, PlateBuild::first, true);
}
BENCHMARK(preparePlateFirstBuild)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vivarix

BENCHMARK_MAIN();
