// Speed of the simulation: the creature step, an empty pass and plate preparation.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "lab_run.h"
#include "session/control_table.h"
#include "session/plate.h"
#include "sim/creature_step.h"
#include "sim/plate_setup.h"
#include "sim/tick.h"

namespace vivarix {
namespace {

// A prepared random plate with `count` creatures of both kinds spread over it,
// one to a cell, placed as clicks are.
std::unique_ptr<lab::Lab> plateWith(std::int64_t count, std::uint64_t seed) {
    auto lab = std::make_unique<lab::Lab>();
    lab::prepareLab(*lab, true, seed);
    SimState& s = lab->state;
    Random where;
    seedRandom(where, seed + 1);
    std::vector<bool> taken(s.plateGrid.cells.size());
    while (static_cast<std::int64_t>(s.creatureList.size()) < count) {
        const std::int32_t x = randomInt(where, 459);
        const std::int32_t y = randomInt(where, 459);
        const PlaceInput click{x, y, randomInt(where, 1), trackbar::magen.initial, trackbar::alter.initial,
                               trackbar::reif.initial};
        const auto cell = static_cast<std::size_t>(cellIndex(s.plateGrid, x, y));
        if (!taken[cell] && applyInput(s, click)) taken[cell] = true;
    }
    return lab;
}

// One tick of stepCreatures per iteration; the items are creature visits.  The
// population evolves from tick to tick; when it drifts more than a fifth away
// from the argument the plate is set up again (outside the timing).
void stepCreatures(benchmark::State& bench) {
    const std::int64_t target = bench.range(0);
    auto lab = plateWith(target, 7);
    std::int64_t visits = 0;
    for (auto _ : bench) {
        SimState& s = lab->state;
        const auto n = static_cast<std::int64_t>(s.creatureList.size());
        if (n < target * 4 / 5 || n > target * 6 / 5) {
            bench.PauseTiming();
            lab = plateWith(target, static_cast<std::uint64_t>(visits) + 11);
            bench.ResumeTiming();
        }
        visits += static_cast<std::int64_t>(lab->state.creatureList.size());
        vivarix::stepCreatures(lab->state);
        clearList(lab->state.nutriumList);
    }
    bench.SetItemsProcessed(visits);
}
BENCHMARK(stepCreatures)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

// A pass at the default feeding with no creature: the three sources, the creature
// step's grid clear, and the frame's emptying of the repaint queue.
void emptyPass(benchmark::State& bench) {
    auto lab = plateWith(0, 3);
    SimState& s = lab->state;
    for (auto _ : bench) {
        runTick(s);
        settleWithoutFrame(s);
    }
}
BENCHMARK(emptyPass)->Unit(benchmark::kMicrosecond);

// Plate preparation as at start-up: texture, rim, disc, random nutrient, legend.
void preparePlateFirstBuild(benchmark::State& bench) {
    auto lab = plateWith(0, 5);
    SimState& s = lab->state;
    for (auto _ : bench) layOutPlate(s, PlateBuild::first, true);
}
BENCHMARK(preparePlateFirstBuild)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vivarix

BENCHMARK_MAIN();
