// The population window: a resizable top-level window with a Qt Charts chart of
// the creatures of each kind, the nutrient on the plate and the strains of each
// kind against the tick.  It shows what it is given (see population_chart.h) and
// knows nothing of the simulation.
//
// Each series is a line through its values with a shaded band from the smallest to
// the largest value under each point.  Creatures are solid lines in their kind's
// colour on the left axis, strains dashed lines on an axis of their own, nutrient a
// muted line on the right axis; each axis names what it carries, and the legend
// shows each line's stroke.  A click on a strain series' legend entry hides or
// shows it, and the strains' axis goes while both are hidden.  Resting the pointer
// on the plot shows the values at the tick under it.  Dragging across the plot with
// the left button zooms into those ticks; the context menu saves a picture of the
// chart, asks the program to save its data, and shows the whole story again.
// Closing the window only hides it.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/population_chart.h"

class QMenu;

namespace vivarix {

class PopulationWindow final : public QWidget {
public:
    // What the window asks of the desktop it belongs to.
    struct Desk {
        // A modal save dialog (Desktop::askSaveFileName); "" when cancelled.
        std::function<std::string(std::string_view title, std::string_view suggestedName)> askSaveFileName;
        std::function<void(std::string_view text)> report;  // a message box
        std::function<void()> saveData;                      // "Save data..." was chosen
    };

    explicit PopulationWindow(Desk desk);

    // Replaces every series and the title, and rescales the axes to the data (to
    // the zoomed ticks while zoomed).  A chart of another plate ends the zoom.
    void showChart(const PopulationChart& chart);

    // The plot area's width in pixels.
    int plotWidth() const;

    // The text the pointer shows at `tick`: the values of the point nearest to it.
    QString valuesAt(double tick) const;

    // The ticks zoomed into, if any.
    std::optional<ChartZoom> zoom() const { return zoomed; }

private:
    class View;

    void zoomInto(double fromTick, double toTick);
    void showWhole();
    void savePicture();

    View* view;
    QMenu* menu;
    Desk desk;
    PopulationChart shown;
    std::optional<ChartZoom> zoomed;
};

}  // namespace vivarix
