#include "app/population_watch.h"

#include <algorithm>
#include <new>
#include <string>

#include "app/app_state.h"
#include "app/user_input.h"

namespace vivarix {

void runWatchedTick(AppState& state) {
    runJournalledTick(state);
    ++state.watch.plateTicks;
    noteTick(state.watch.history, state.kindCount);
}

void startPlateHistory(PopulationWatch& watch) {
    clearHistory(watch.history);
    watch.plateTicks = 0;
    ++watch.changes;
}

void sampleDrawnFrame(AppState& state) {
    PopulationWatch& watch = state.watch;
    if (!watch.history.frameStarted) return;
    sampleFrame(watch.history, state, watch.plateTicks);
    ++watch.changes;
}

void togglePopulationWindow(AppState& state, Desktop& desktop) {
    const bool open = !desktop.populationWindowOpen();
    desktop.showPopulationWindow(open);
    state.watch.shownChanges = 0;  // the next refresh charts at once
}

void refreshPopulationWindow(AppState& state, Desktop& desktop) {
    PopulationWatch& watch = state.watch;
    if (!desktop.populationWindowOpen()) return;
    const std::int32_t width = desktop.populationPlotWidth();
    const std::uint32_t now = passTime(state);
    if (watch.chartFailed) {
        if (now - watch.shownAtMs < chartIntervalMs) return;
    } else if (watch.shownChanges != 0) {
        if (watch.changes == watch.shownChanges && width == watch.shownWidth) return;
        if (now - watch.shownAtMs < chartIntervalMs) return;
    }
    watch.shownAtMs = now;
    try {
        desktop.showPopulation(populationChart(watch, static_cast<std::size_t>(std::max(width / 2, 1))));
    } catch (const std::bad_alloc&) {
        if (!watch.chartFailed) desktop.messageBox("Vivarix", chartNoMemoryText);
        watch.chartFailed = true;
        return;
    }
    watch.chartFailed = false;
    watch.shownChanges = watch.changes;
    watch.shownWidth = width;
}

PopulationChart populationChart(const PopulationWatch& watch, std::size_t columns) {
    PopulationChart chart;
    chart.title = "Vivarix population: tick " + std::to_string(watch.plateTicks);
    for (const PopulationSample& s : historyColumns(watch.history, columns)) {
        auto point = [&](PopulationSeries series) {
            return ChartPoint{s.lastTick, s.series[series].min, s.series[series].max};
        };
        chart.creatures[0].push_back(point(kind0Count));
        chart.creatures[1].push_back(point(kind1Count));
        chart.strains[0].push_back(point(kind0Strains));
        chart.strains[1].push_back(point(kind1Strains));
        chart.nutrient.push_back(point(nutrientSeries));
    }
    return chart;
}

}  // namespace vivarix
