#include "platform/qt/population_window.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>

namespace vivarix {

namespace {

constexpr QSize defaultSize(640, 400);

const QColor blue(30, 70, 230);
const QColor red(220, 30, 30);
const QColor muted(150, 160, 120);  // the nutrient: present but not loud

QString count(std::int64_t value) { return QString::number(static_cast<qlonglong>(value)); }

// "120" or "110..130" when the point covers a spread.
QString spread(const ChartPoint& p) { return p.min == p.max ? count(p.min) : count(p.min) + ".." + count(p.max); }

// The point of `points` nearest to `tick` (points are in tick order, not empty).
const ChartPoint& nearest(const std::vector<ChartPoint>& points, double tick) {
    const auto after = std::lower_bound(points.begin(), points.end(), tick,
                                        [](const ChartPoint& p, double t) { return static_cast<double>(p.tick) < t; });
    if (after == points.end()) return points.back();
    if (after == points.begin()) return *after;
    const auto before = std::prev(after);
    return tick - static_cast<double>(before->tick) <= static_cast<double>(after->tick) - tick ? *before : *after;
}

// Each point as a vertical stroke from one extreme to the other, entered from the
// end nearer the previous stroke so that the line does not cross itself.
QList<QPointF> strokes(const std::vector<ChartPoint>& points) {
    QList<QPointF> line;
    line.reserve(static_cast<qsizetype>(points.size() * 2));
    double last = 0;
    for (const ChartPoint& p : points) {
        const auto x = static_cast<double>(p.tick);
        auto low = static_cast<double>(p.min), high = static_cast<double>(p.max);
        if (std::abs(last - high) < std::abs(last - low)) std::swap(low, high);
        line.append(QPointF(x, low));
        if (high != low) line.append(QPointF(x, high));
        last = high;
    }
    return line;
}

std::int64_t highest(const std::vector<ChartPoint>& points) {
    std::int64_t top = 0;
    for (const ChartPoint& p : points) top = std::max(top, p.max);
    return top;
}

// The smallest of 1, 2, 5, 10, 20, 50 ... that is at least `value`.
double roundUp(double value) {
    double step = 1;
    while (step < value) {
        if (step * 2 >= value) return step * 2;
        if (step * 5 >= value) return step * 5;
        step *= 10;
    }
    return step;
}

// Sets an axis to [low, high] unless it is there already: every change of an axis
// makes its series compute their geometry again.
void setRange(QValueAxis* axis, double low, double high) {
    if (axis->min() != low || axis->max() != high) axis->setRange(low, high);
}

// A value axis from 0 to a round number above the data, which grows with it, in
// five steps.
void fitAxis(QValueAxis* axis, std::int64_t top, double least) {
    setRange(axis, 0, roundUp(std::max(static_cast<double>(top) * 1.05, least)));
}

// The tick axis from a multiple of a round step at or below the first tick, in
// five or six such steps up to the last.
void fitTicks(QValueAxis* axis, std::uint64_t first, std::uint64_t last) {
    const double step = roundUp(static_cast<double>(std::max<std::uint64_t>(last - first, 100)) / 5);
    const double from = std::floor(static_cast<double>(first) / step) * step;
    const int steps = static_cast<double>(last) > from + 5 * step ? 6 : 5;
    setRange(axis, from, from + steps * step);
    if (axis->tickCount() != steps + 1) axis->setTickCount(steps + 1);
}

}  // namespace

// The chart view that reports the values under the pointer.
class PopulationWindow::View final : public QChartView {
public:
    View(QChart* chart, std::function<QString(double)> describe) : QChartView(chart), values(std::move(describe)) {
        setMouseTracking(true);
        setRenderHint(QPainter::Antialiasing, false);
    }

    QLineSeries* creatures[2];
    QLineSeries* strains[2];
    QLineSeries* nutrient;
    QValueAxis* ticks;
    QValueAxis* creatureAxis;
    QValueAxis* strainAxis;
    QValueAxis* nutrientAxis;

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        const QPointF at = event->position();
        if (!chart()->plotArea().contains(at)) {
            QToolTip::hideText();
            return;
        }
        const QString text = values(chart()->mapToValue(at, creatures[0]).x());
        if (!text.isEmpty()) QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }

private:
    std::function<QString(double)> values;
};

PopulationWindow::PopulationWindow() {
    setWindowTitle(QStringLiteral("Vivarix population"));
    resize(defaultSize);

    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    view = new View(chart, [this](double tick) { return valuesAt(tick); });

    auto axis = [&](const char* title, Qt::Alignment side, const QColor& colour) {
        auto* a = new QValueAxis;
        a->setTitleText(QString::fromLatin1(title));
        a->setLabelFormat(QStringLiteral("%.0f"));
        a->setTickCount(6);
        if (colour.isValid()) {
            a->setLabelsColor(colour.darker(130));
            a->setTitleBrush(colour.darker(130));
        }
        chart->addAxis(a, side);
        return a;
    };
    view->ticks = axis("tick", Qt::AlignBottom, QColor());
    view->creatureAxis = axis("creatures", Qt::AlignLeft, QColor());
    view->strainAxis = axis("strains", Qt::AlignLeft, QColor(110, 110, 110));
    view->nutrientAxis = axis("nutrient", Qt::AlignRight, muted);
    view->strainAxis->setGridLineVisible(false);
    view->nutrientAxis->setGridLineVisible(false);

    auto series = [&](const char* name, const QColor& colour, Qt::PenStyle style, QValueAxis* y) {
        auto* s = new QLineSeries;
        s->setName(QString::fromLatin1(name));
        // One pixel wide: wider lines are stroked as outlines, which doubles the cost
        // of drawing the chart.
        s->setPen(QPen(colour, 1.0, style));
        chart->addSeries(s);
        s->attachAxis(view->ticks);
        s->attachAxis(y);
        return s;
    };
    view->nutrient = series("nutrient", muted, Qt::SolidLine, view->nutrientAxis);
    view->creatures[0] = series("blue creatures", blue, Qt::SolidLine, view->creatureAxis);
    view->creatures[1] = series("red creatures", red, Qt::SolidLine, view->creatureAxis);
    view->strains[0] = series("blue strains", blue, Qt::DashLine, view->strainAxis);
    view->strains[1] = series("red strains", red, Qt::DashLine, view->strainAxis);

    // A click on a strain series' legend entry hides or shows the series; the entry
    // stays, faded while its series is hidden.
    for (QLineSeries* s : view->strains) {
        QLegendMarker* marker = chart->legend()->markers(s).front();
        QObject::connect(marker, &QLegendMarker::clicked, marker, [s, marker] {
            s->setVisible(!s->isVisible());
            marker->setVisible(true);
            QColor label = marker->labelBrush().color();
            label.setAlphaF(s->isVisible() ? 1.0 : 0.4);
            marker->setLabelBrush(label);
        });
    }
    showChart(PopulationChart{});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void PopulationWindow::showChart(const PopulationChart& chart) {
    shown = chart;
    if (!chart.title.empty()) setWindowTitle(QString::fromStdString(chart.title));
    // Each change of an axis or a series makes the series concerned lay out their
    // points again, which costs about as much as drawing them: the series are
    // emptied first, the axes set, then each series filled once.
    QLineSeries* const all[] = {view->nutrient, view->creatures[0], view->creatures[1], view->strains[0],
                                view->strains[1]};
    for (QLineSeries* s : all) s->clear();
    std::uint64_t first = 0, last = 0;
    if (!chart.nutrient.empty()) {
        first = chart.nutrient.front().tick;
        last = chart.nutrient.back().tick;
    }
    fitTicks(view->ticks, first, last);
    fitAxis(view->creatureAxis, std::max(highest(chart.creatures[0]), highest(chart.creatures[1])), 10);
    fitAxis(view->strainAxis, std::max(highest(chart.strains[0]), highest(chart.strains[1])), 10);
    fitAxis(view->nutrientAxis, highest(chart.nutrient), 1000);

    view->nutrient->replace(strokes(chart.nutrient));
    for (std::size_t k = 0; k < 2; ++k) {
        view->creatures[k]->replace(strokes(chart.creatures[k]));
        view->strains[k]->replace(strokes(chart.strains[k]));
    }
}

int PopulationWindow::plotWidth() const { return static_cast<int>(view->chart()->plotArea().width()); }

QString PopulationWindow::valuesAt(double tick) const {
    if (shown.nutrient.empty()) return {};
    const ChartPoint& at = nearest(shown.nutrient, tick);
    auto of = [&](const std::vector<ChartPoint>& points) { return points.empty() ? QString("0") : spread(nearest(points, tick)); };
    return QStringLiteral("tick %1\nblue creatures: %2\nred creatures: %3\nnutrient: %4\nstrains: blue %5, red %6")
        .arg(count(static_cast<std::int64_t>(at.tick)), of(shown.creatures[0]), of(shown.creatures[1]),
             spread(at), of(shown.strains[0]), of(shown.strains[1]));
}

}  // namespace vivarix
