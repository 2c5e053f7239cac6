// The population window's redraw at its default size after a run long enough to
// fill the history: the chart reduced to the plot's columns, handed to the desktop
// and painted.  Run it on Qt's offscreen platform:
//     QT_QPA_PLATFORM=offscreen build/vivarix-chart-bench
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <memory>

#include "app/app_state.h"
#include "app/population_watch.h"
#include "platform/qt/qt_desktop.h"

namespace vivarix {
namespace {

int argc = 1;
char name[] = "vivarix-chart-bench";
char* argv[] = {name, nullptr};

// A full history: `capacity` samples of 256 ticks each, with booms and crashes.
void fillHistory(PopulationWatch& watch) {
    PopulationHistory& h = watch.history;
    for (std::uint64_t i = 0; i < PopulationHistory::capacity; ++i) {
        PopulationSample s;
        s.firstTick = i * 256 + 1;
        s.lastTick = (i + 1) * 256;
        const auto wave = static_cast<std::int64_t>((i * 37) % 2000);
        const auto blueStrains = static_cast<std::int64_t>(i % 40), redStrains = static_cast<std::int64_t>(i % 25);
        s.series[kind0Count] = {wave, wave + 300, wave + 100};
        s.series[kind1Count] = {2000 - wave, 2100 - wave, 2050 - wave};
        s.series[nutrientSeries] = {300000 - wave * 50, 300000 - wave * 40, 300000 - wave * 45};
        s.series[kind0Strains] = {blueStrains, blueStrains + 3, blueStrains + 1};
        s.series[kind1Strains] = {redStrains, redStrains + 2, redStrains + 2};
        h.store[h.count++] = s;
    }
    watch.plateTicks = PopulationHistory::capacity * 256;
}

void populationRedraw(benchmark::State& bench) {
    Graphics none;
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, none);
    desktop->showPopulationWindow(true);
    QCoreApplication::processEvents();
    auto watched = std::make_unique<PopulationWatch>();
    PopulationWatch& watch = *watched;
    fillHistory(watch);
    desktop->showPopulation(populationChart(watch, 1));  // lays the chart out
    QCoreApplication::processEvents();
    // As the program asks: a point per two pixel columns.
    const auto columns = static_cast<std::size_t>(desktop->populationPlotWidth() / 2);
    for (auto _ : bench) {
        ++historySamples(watch.history).back().series[kind0Count].max;  // a change to draw
        desktop->showPopulation(populationChart(watch, columns));
        QCoreApplication::processEvents();  // the paint
    }
    bench.counters["points"] = static_cast<double>(columns);
}
BENCHMARK(populationRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vivarix

BENCHMARK_MAIN();
