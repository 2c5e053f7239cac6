// The main loop's side of the population window: the history of the current plate,
// sampled once per drawn frame, and a chart of it handed to the desktop at most
// twice a second while the window is open.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/core/desktop.h"
#include "render/population_history.h"

namespace vivarix {

struct AppState;

inline constexpr std::uint32_t chartIntervalMs = 500;  // the most often a chart is redrawn
// The message (titled "Vivarix") when there is no memory for a chart.
inline constexpr const char* chartNoMemoryText =
    "There is not enough memory to draw the population chart. The window keeps its last chart until there is.";

struct PopulationWatch {
    PopulationHistory history;
    std::uint64_t plateTicks = 0;    // ticks run on the current plate
    std::uint64_t plate = 0;         // numbers the plates, from 0
    std::uint64_t changes = 1;       // grows with every change of the history
    std::uint64_t shownChanges = 0;  // `changes` as last charted; 0: nothing shown yet
    std::int32_t shownWidth = 0;     // the plot width last charted for
    std::optional<ChartZoom> shownZoom;  // the zoom last charted for
    std::uint32_t shownAtMs = 0;     // the pass clock when it was charted, or last tried
    bool chartFailed = false;        // the last try ran out of memory (and said so)
};

// One tick of the session through runJournalledTick, counted for the plate and
// noted in the history.  During a replay the tick takes no feeding from the user
// (runSessionTick), and the recording's entries of the next tick follow it
// (takeRecordedInputs).  The one way the program runs a tick.
void runWatchedTick(AppState& state);

// A new plate: a new history, counted from tick 0, under the next plate number.
void startPlateHistory(PopulationWatch& watch);

// After a drawn frame: the frame's sample (a frame that ran no tick adds none).
void sampleDrawnFrame(AppState& state);

// Opens the population window when it is closed, else closes it.
void togglePopulationWindow(AppState& state, Desktop& desktop);

// While the window is open: a chart of the whole history, or of the ticks the user
// zoomed into on this plate, at one point per two columns of the plot, titled
// "Vivarix population: tick N", when the history, the plot width or the zoom
// changed and chartIntervalMs have passed on the pass clock since the last one (at
// once when nothing has been charted since the window opened).  Without memory for
// the chart the window keeps its last one, a message says so (once, until a chart
// is drawn again), and the next try comes chartIntervalMs later.
void refreshPopulationWindow(AppState& state, Desktop& desktop);

// The chart of `watch`'s history reduced to `columns` points per series, over the
// ticks of `zoom` when it is given.
PopulationChart populationChart(const PopulationWatch& watch, std::size_t columns,
                                const std::optional<ChartZoom>& zoom = std::nullopt);

// "Save data...": asks where to save the history, suggesting
// vivarix-population-tick-N.csv, and writes it there as historyCsv gives it; a
// file that cannot be written is reported in a message box and the session goes on.
void savePopulationData(AppState& state, Desktop& desktop);

}  // namespace vivarix
