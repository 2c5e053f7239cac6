#include "app/population_watch.h"

#include <algorithm>
#include <new>
#include <string>

#include "app/app_state.h"
#include "app/replay.h"
#include "app/save_file.h"
#include "app/user_input.h"
#include "render/population_csv.h"

namespace vivarix {

void runWatchedTick(AppState& state) {
    // A replay's feeding is the recording's, taken with its other inputs.
    if (replaying(state))
        runSessionTick(state, state.session);
    else
        runJournalledTick(state);
    ++state.watch.plateTicks;
    noteTick(state.watch.history, state.kindCount);
    if (replaying(state)) takeRecordedInputs(state);
}

void startPlateHistory(PopulationWatch& watch) {
    clearHistory(watch.history);
    watch.plateTicks = 0;
    ++watch.plate;
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
    std::optional<ChartZoom> zoom = desktop.populationZoom();
    if (zoom && zoom->plate != watch.plate) zoom.reset();  // made on a plate that is gone
    const std::uint32_t now = passTime(state);
    if (watch.chartFailed) {
        if (now - watch.shownAtMs < chartIntervalMs) return;
    } else if (watch.shownChanges != 0) {
        if (watch.changes == watch.shownChanges && width == watch.shownWidth && zoom == watch.shownZoom) return;
        if (now - watch.shownAtMs < chartIntervalMs) return;
    }
    watch.shownAtMs = now;
    try {
        desktop.showPopulation(populationChart(watch, static_cast<std::size_t>(std::max(width / 2, 1)), zoom));
    } catch (const std::bad_alloc&) {
        if (!watch.chartFailed) desktop.messageBox("Vivarix", chartNoMemoryText);
        watch.chartFailed = true;
        return;
    }
    watch.chartFailed = false;
    watch.shownChanges = watch.changes;
    watch.shownWidth = width;
    watch.shownZoom = zoom;
}

PopulationChart populationChart(const PopulationWatch& watch, std::size_t columns,
                                const std::optional<ChartZoom>& zoom) {
    PopulationChart chart;
    chart.title = "Vivarix population: tick " + std::to_string(watch.plateTicks);
    chart.plate = watch.plate;
    chart.tick = watch.plateTicks;
    const std::vector<PopulationSample> samples =
        zoom ? historyColumns(watch.history, columns, zoom->first, zoom->last) : historyColumns(watch.history, columns);
    for (const PopulationSample& s : samples) {
        auto point = [&](PopulationSeries series) {
            const Range& r = s.series[series];
            return ChartPoint{s.lastTick, r.min, r.max, r.last};
        };
        chart.creatures[0].push_back(point(kind0Count));
        chart.creatures[1].push_back(point(kind1Count));
        chart.strains[0].push_back(point(kind0Strains));
        chart.strains[1].push_back(point(kind1Strains));
        chart.nutrient.push_back(point(nutrientSeries));
    }
    return chart;
}

void savePopulationData(AppState& state, Desktop& desktop) {
    saveThroughDialog(desktop, "Save the population data",
                      "vivarix-population-tick-" + std::to_string(state.watch.plateTicks) + ".csv",
                      "The population data",
                      [&](const std::string& path) { return writeWholeFile(path, historyCsv(state.watch.history)); });
}

}  // namespace vivarix
