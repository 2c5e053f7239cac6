// The population window: a resizable top-level window with a Qt Charts chart of
// the creatures of each kind, the nutrient on the plate and the strains of each
// kind against the tick.  It shows what it is given (see population_chart.h) and
// knows nothing of the simulation.
//
// Creatures are drawn in their kind's colour on the left axis, nutrient in a muted
// colour on the right axis, and strains as dashed lines on an axis of their own; a
// click on a strain series' legend entry hides or shows it.  Each point stands for
// the smallest and the largest value under its pixel column, drawn as a vertical
// stroke between the two.  Resting the pointer on the plot shows the values at the
// tick under it.  Closing the window only hides it.
#pragma once

#include <QWidget>

#include "platform/core/population_chart.h"

class QChartView;
class QLineSeries;
class QValueAxis;

namespace vivarix {

class PopulationWindow final : public QWidget {
public:
    PopulationWindow();

    // Replaces every series and the title, and rescales the axes to the data.
    void showChart(const PopulationChart& chart);

    // The plot area's width in pixels.
    int plotWidth() const;

    // The text the pointer shows at `tick`: the values of the point nearest to it.
    QString valuesAt(double tick) const;

private:
    class View;
    View* view;
    PopulationChart shown;
};

}  // namespace vivarix
