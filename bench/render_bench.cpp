// Speed of the rendering: a whole frame with the colour statistics off and on, the
// magnifier's steps and the population history's sample of a frame, on a crowded
// plate.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/pictures.h"
#include "session/control_table.h"
#include "session/input.h"
#include "session/plate.h"
#include "render/magnifier.h"
#include "render/plate_view.h"
#include "render/population_history.h"
#include "sim/gene_colour.h"
#include "sim/plate_setup.h"
#include "sim/tick.h"

namespace vivarix {
namespace {

constexpr std::int32_t strainsPerKind = 25;

// Gene sets (each gene 0..2) whose colours are distinct and not 0, per kind.
std::vector<Creature> strainsOf(std::int16_t kind) {
    std::vector<Creature> strains;
    std::vector<bool> used(256);
    for (std::int32_t code = 1; code < 729 && static_cast<std::int32_t>(strains.size()) < strainsPerKind; ++code) {
        Creature c{};
        c.kind = kind;
        std::int32_t rest = code;
        for (std::int16_t* gene : {&c.geneV, &c.geneR, &c.geneSr, &c.geneRw, &c.geneSl, &c.geneL}) {
            *gene = static_cast<std::int16_t>(rest % 3);
            rest /= 3;
        }
        c.colour = geneColour(c);
        const auto level = static_cast<std::size_t>(kind == 0 ? c.colour >> 16 : c.colour);
        if (c.colour == 0 || used[level]) continue;
        used[level] = true;
        strains.push_back(c);
    }
    return strains;
}

// A prepared random plate with `count` creatures of 50 strains (25 of each kind)
// spread over it, one to a cell, placed as clicks are and then given their strain's
// genes and a stomach of 100..450 (pixels, squares and circles).  The state has a
// back buffer and a text renderer that draws nothing, and the plate picture has
// taken in the nutrient queued by the preparation.
std::unique_ptr<AppState> crowdedPlate(std::int64_t count, std::uint64_t seed, NoTextRenderer& text) {
    auto lab = std::make_unique<AppState>();
    AppState& s = *lab;
    initialiseState(s, nullptr, &stderrMessageBoxes(), seed);
    createWorkPictures(s);
    decodeBuiltinPictures(s);
    layOutPlate(s, PlateBuild::first, true);
    openBackBuffer(s.graphics, s.plateWidth, s.plateHeight);
    s.graphics.text = &text;
    paintQueuedCells(s);

    const std::vector<Creature> strains[2] = {strainsOf(0), strainsOf(1)};
    Random where;
    seedRandom(where, seed + 1);
    std::vector<bool> taken(s.plateGrid.cells.size());
    while (static_cast<std::int64_t>(s.creatureList.size()) < count) {
        const auto strain = static_cast<std::size_t>(s.creatureList.size() % (2 * strainsPerKind));
        const std::size_t kind = strain % 2;
        const std::int32_t x = randomInt(where, 459);
        const std::int32_t y = randomInt(where, 459);
        const auto cell = static_cast<std::size_t>(cellIndex(s.plateGrid, x, y));
        const PlaceInput click{x, y, static_cast<std::int32_t>(kind), trackbar::magen.initial, trackbar::alter.initial,
                               trackbar::reif.initial};
        if (taken[cell] || !applyInput(s, click)) continue;
        taken[cell] = true;
        Creature& c = *s.creatureList.current();
        const Creature& genes = strains[kind][strain / 2];
        c.geneV = genes.geneV;
        c.geneR = genes.geneR;
        c.geneSr = genes.geneSr;
        c.geneRw = genes.geneRw;
        c.geneSl = genes.geneSl;
        c.geneL = genes.geneL;
        c.colour = genes.colour;
        c.stomach = 100 + randomInt(where, 350);
        c.stress = randomInt(where, 1) * 10;
    }
    return lab;
}

// One frame per iteration, the magnifier off; the argument switches the colour
// statistics.  The repaint queue is empty: the frame is the picture copy, the
// creature pass, the overlays and the legend.
void renderFrame(benchmark::State& bench) {
    NoTextRenderer text;
    auto lab = crowdedPlate(10000, 7, text);
    AppState& s = *lab;
    s.colourStatsOn = static_cast<std::int32_t>(bench.range(0));
    for (auto _ : bench) {
        vivarix::renderFrame(s);
        benchmark::DoNotOptimize(s.graphics.backBuffer.pixels.data());
    }
    bench.SetItemsProcessed(bench.iterations() * static_cast<std::int64_t>(s.creatureList.size()));
}
BENCHMARK(renderFrame)->ArgName("stats")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The magnifier's own work in a frame: choosing the observed creature, the frame
// and highlight on the open back buffer, and the inspector picture (which walks
// the whole list for the creatures in the area).
void magnifierSteps(benchmark::State& bench) {
    NoTextRenderer text;
    auto lab = crowdedPlate(10000, 9, text);
    AppState& s = *lab;
    s.magnifierOn = 1;
    s.magnifierX = 230;
    s.magnifierY = 230;
    for (auto _ : bench) {
        chooseObservedCreature(s);
        startDrawing(s.graphics, screenOutput());
        drawMagnifierFrame(s);
        stopDrawing(s.graphics);
        drawMagnifierView(s);
        benchmark::DoNotOptimize(s.graphics.images[inspectorImage].pixels.data());
    }
}
BENCHMARK(magnifierSteps)->Unit(benchmark::kMicrosecond);

// What the population history costs a drawn frame: the counts noted after the
// frame's tick and the frame's sample (nutrient on the plate, strains of each
// kind), on a plate of 10,000 creatures; the history fills up and merges as in a
// long run.
void populationSample(benchmark::State& bench) {
    NoTextRenderer text;
    auto lab = crowdedPlate(10000, 13, text);
    const AppState& s = *lab;
    auto history = std::make_unique<PopulationHistory>();
    std::uint64_t tick = 0;
    for (auto _ : bench) {
        noteTick(*history, s.kindCount);
        sampleFrame(*history, s, ++tick);
    }
    benchmark::DoNotOptimize(history->store.data());
}
BENCHMARK(populationSample)->Unit(benchmark::kMicrosecond);

// One pass of the main loop without the present's wait: the three nutrient
// sources, the creature step and the frame, statistics and magnifier off, on a
// plate of 10,000 creatures.  The population evolves; when it drifts more than a
// fifth away, a fresh plate is made outside the timing.
void mainLoopPass(benchmark::State& bench) {
    NoTextRenderer text;
    std::uint64_t seed = 11;
    auto lab = crowdedPlate(10000, seed, text);
    for (auto _ : bench) {
        const auto n = static_cast<std::int64_t>(lab->creatureList.size());
        if (n < 8000 || n > 12000) {
            bench.PauseTiming();
            lab = crowdedPlate(10000, ++seed, text);
            bench.ResumeTiming();
        }
        AppState& s = *lab;
        runTick(s);
        vivarix::renderFrame(s);
    }
}
BENCHMARK(mainLoopPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vivarix
