#include "platform/qt/population_window.h"

#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/core/kind_colours.h"

namespace vivarix {

namespace {

constexpr QSize defaultSize(640, 400);

const QColor blue(QString::fromLatin1(kindChartColour[0]));
const QColor red(QString::fromLatin1(kindChartColour[1]));
const QColor muted(150, 160, 120);  // the nutrient: present but not loud

// How much of a line's colour its band takes, the rest being the background's: the
// creatures' plainly, the others' faintly.  Bands are mixed opaque colours, since
// blending translucent ones costs tens of milliseconds a chart.
constexpr double creatureBandShare = 0.35;
constexpr double otherBandShare = 0.2;

// A drag shorter than this many pixels is a click, not a zoom.
constexpr int leastZoomPixels = 4;

// The curves, in the legend's order; their lines are drawn in this order too, later
// ones over earlier ones.
enum Curve : std::size_t { nutrientCurve, blueCreatures, redCreatures, blueStrains, redStrains, curveCount };
// The bands are drawn in this order: the creatures' over the others'.
constexpr std::array<Curve, curveCount> bandOrder{nutrientCurve, blueStrains, redStrains, blueCreatures, redCreatures};

// The colour of a brush that may be a gradient (the chart's theme paints its
// background with one): its first stop.
QColor solid(const QBrush& brush) {
    const QGradient* gradient = brush.gradient();
    return gradient && !gradient->stops().isEmpty() ? gradient->stops().front().second : brush.color();
}

// `share` of `colour` over `background`.
QColor mix(const QColor& colour, const QColor& background, double share) {
    auto channel = [&](int c, int b) { return qRound(b + (c - b) * share); };
    return QColor(channel(colour.red(), background.red()), channel(colour.green(), background.green()),
                  channel(colour.blue(), background.blue()));
}

const std::vector<ChartPoint>& pointsOf(const PopulationChart& chart, std::size_t curve) {
    switch (curve) {
    case blueCreatures:
        return chart.creatures[0];
    case redCreatures:
        return chart.creatures[1];
    case blueStrains:
        return chart.strains[0];
    case redStrains:
        return chart.strains[1];
    default:
        return chart.nutrient;
    }
}

QString count(std::int64_t value) { return QString::number(static_cast<qlonglong>(value)); }

// "120", or "120 (110..130)" when the point covers a spread.
QString spread(const ChartPoint& p) {
    if (p.min == p.max) return count(p.value);
    return count(p.value) + " (" + count(p.min) + ".." + count(p.max) + ")";
}

// The point of `points` nearest to `tick` (points are in tick order, not empty).
const ChartPoint& nearest(const std::vector<ChartPoint>& points, double tick) {
    const auto after = std::lower_bound(points.begin(), points.end(), tick,
                                        [](const ChartPoint& p, double t) { return static_cast<double>(p.tick) < t; });
    if (after == points.end()) return points.back();
    if (after == points.begin()) return *after;
    const auto before = std::prev(after);
    return tick - static_cast<double>(before->tick) <= static_cast<double>(after->tick) - tick ? *before : *after;
}

QList<QPointF> valueLine(const std::vector<ChartPoint>& points) {
    QList<QPointF> line;
    line.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points) line.append(QPointF(static_cast<double>(p.tick), static_cast<double>(p.value)));
    return line;
}

// Where a value of an axis lies along `from` to `to` pixels.
double place(const QValueAxis* axis, double value, double from, double to) {
    const double span = axis->max() - axis->min();
    return span > 0 ? from + (value - axis->min()) / span * (to - from) : from;
}

// The largest maximum of the points from tick `from` to `to`, or of all of them
// when none lies there (a zoom between two coarse points).
std::int64_t highest(const std::vector<ChartPoint>& points, double from, double to) {
    std::int64_t top = 0, topInside = 0;
    bool inside = false;
    for (const ChartPoint& p : points) {
        top = std::max(top, p.max);
        const auto t = static_cast<double>(p.tick);
        if (t < from || t > to) continue;
        topInside = inside ? std::max(topInside, p.max) : p.max;
        inside = true;
    }
    return inside ? topInside : top;
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

// The tick axis from `from` to `to`, labelled at the multiples of a round step
// that makes about five intervals.
void setTicks(QValueAxis* axis, double from, double to) {
    const double step = roundUp((to - from) / 5);
    if (axis->tickInterval() != step) axis->setTickInterval(step);
    setRange(axis, from, to);
}

// The tick axis for a whole story: from a multiple of a round step at or below the
// first tick, in five or six such steps up to the last.
void fitTicks(QValueAxis* axis, std::uint64_t first, std::uint64_t last) {
    const double step = roundUp(static_cast<double>(std::max<std::uint64_t>(last - first, 100)) / 5);
    const double from = std::floor(static_cast<double>(first) / step) * step;
    const int steps = static_cast<double>(last) > from + 5 * step ? 6 : 5;
    setTicks(axis, from, from + steps * step);
}

}  // namespace

// The chart view: the bands behind the chart, the values under the pointer, the
// drag that zooms, the menu.
class PopulationWindow::View final : public QChartView {
public:
    View(QChart* chart, PopulationWindow& window)
        : QChartView(chart), owner(window), band(new QRubberBand(QRubberBand::Rectangle, viewport())) {
        setMouseTracking(true);
        setRenderHint(QPainter::Antialiasing, false);
        // The view paints the chart's background itself, under the bands.
        chart->setBackgroundVisible(false);
    }

    std::array<QLineSeries*, curveCount> lines{};
    std::array<QColor, curveCount> bandColours{};
    std::array<QValueAxis*, curveCount> valueAxes{};
    QValueAxis* ticks = nullptr;
    QValueAxis* creatureAxis = nullptr;
    QValueAxis* strainAxis = nullptr;
    QValueAxis* nutrientAxis = nullptr;

    // The tick at x of the view.
    double tickAt(double x) const { return chart()->mapToValue(QPointF(x, 0), lines[blueCreatures]).x(); }

protected:
    // The bands as a column of pixels per point, from the previous point's column to
    // its own, between its minimum and maximum: filled rectangles cost a fraction of
    // an area series' polygon, whose jagged edges make every scanline expensive.
    void drawBackground(QPainter* painter, const QRectF& rect) override {
        painter->fillRect(rect, chart()->backgroundBrush());
        const QRectF plot = chart()->mapRectToScene(chart()->plotArea());
        painter->save();
        painter->setClipRect(plot, Qt::IntersectClip);
        for (const std::size_t c : bandOrder) {
            if (!lines[c]->isVisible()) continue;
            // Each column of pixels belongs to one point: (left, right].
            bool first = true;
            int left = 0;
            for (const ChartPoint& p : pointsOf(owner.shown, c)) {
                int right = qRound(place(ticks, static_cast<double>(p.tick), plot.left(), plot.right()));
                if (first) left = right - 1;
                first = false;
                right = std::max(right, left + 1);
                if (p.max != p.min) {
                    const int top = qRound(place(valueAxes[c], static_cast<double>(p.max), plot.bottom(), plot.top()));
                    const int bottom = qRound(place(valueAxes[c], static_cast<double>(p.min), plot.bottom(), plot.top()));
                    painter->fillRect(QRect(left + 1, top, right - left, bottom - top + 1), bandColours[c]);
                }
                left = right;
            }
        }
        painter->restore();
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QRectF plot = chart()->plotArea();
        if (event->button() != Qt::LeftButton || !plot.contains(event->position())) {
            QChartView::mousePressEvent(event);  // the legend's clicks
            return;
        }
        dragFrom = event->position().x();
        stretchBand(dragFrom);
        band->show();
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (band->isVisible()) {
            stretchBand(event->position().x());
            return;
        }
        QChartView::mouseMoveEvent(event);
        const QPointF at = event->position();
        if (!chart()->plotArea().contains(at)) {
            QToolTip::hideText();
            return;
        }
        const QString text = owner.valuesAt(tickAt(at.x()));
        if (!text.isEmpty()) QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !band->isVisible()) {
            QChartView::mouseReleaseEvent(event);
            return;
        }
        band->hide();
        const QRectF plot = chart()->plotArea();
        const double to = std::clamp(event->position().x(), plot.left(), plot.right());
        if (std::abs(to - dragFrom) >= leastZoomPixels)
            owner.zoomInto(tickAt(std::min(dragFrom, to)), tickAt(std::max(dragFrom, to)));
        event->accept();
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        owner.menu->popup(event->globalPos());
        event->accept();
    }

private:
    // The band from where the drag began to x, over the plot's whole height.
    void stretchBand(double x) {
        const QRectF plot = chart()->plotArea();
        x = std::clamp(x, plot.left(), plot.right());
        band->setGeometry(QRectF(QPointF(std::min(dragFrom, x), plot.top()), QPointF(std::max(dragFrom, x), plot.bottom()))
                              .toRect());
    }

    PopulationWindow& owner;
    QRubberBand* band;  // owned by the viewport
    double dragFrom = 0;
};

PopulationWindow::PopulationWindow(Desk calls) : desk(std::move(calls)) {
    setWindowTitle(QStringLiteral("Vivarix population"));
    resize(defaultSize);

    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    // Each entry shows its line's own stroke: solid or dashed.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    view = new View(chart, *this);

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
    view->ticks->setTickType(QValueAxis::TicksDynamic);
    view->ticks->setTickAnchor(0);
    view->creatureAxis = axis("creatures (solid)", Qt::AlignLeft, QColor());
    view->strainAxis = axis("strains (dashed)", Qt::AlignLeft, QColor(110, 110, 110));
    view->nutrientAxis = axis("nutrient", Qt::AlignRight, muted);
    view->strainAxis->setGridLineVisible(false);
    view->nutrientAxis->setGridLineVisible(false);

    struct Look {
        const char* name;
        QColor colour;
        Qt::PenStyle style;
        QValueAxis* axis;
        double bandShare;
    };
    const std::array<Look, curveCount> looks{{
        {"nutrient", muted, Qt::SolidLine, view->nutrientAxis, otherBandShare},
        {"blue creatures", blue, Qt::SolidLine, view->creatureAxis, creatureBandShare},
        {"red creatures", red, Qt::SolidLine, view->creatureAxis, creatureBandShare},
        {"blue strains", blue, Qt::DashLine, view->strainAxis, otherBandShare},
        {"red strains", red, Qt::DashLine, view->strainAxis, otherBandShare},
    }};
    for (std::size_t c = 0; c < curveCount; ++c) {
        auto* line = new QLineSeries;
        line->setName(QString::fromLatin1(looks[c].name));
        // One pixel wide: wider lines are stroked as outlines, which doubles the cost
        // of drawing the chart.
        line->setPen(QPen(looks[c].colour, 1.0, looks[c].style));
        chart->addSeries(line);
        line->attachAxis(view->ticks);
        line->attachAxis(looks[c].axis);
        view->lines[c] = line;
        view->valueAxes[c] = looks[c].axis;
        view->bandColours[c] = mix(looks[c].colour, solid(chart->backgroundBrush()), looks[c].bandShare);
    }

    // A click on a strain series' legend entry hides or shows its line and band; the
    // entry stays, faded while its series is hidden, and the strains' axis shows
    // while either series does.
    for (const std::size_t c : {blueStrains, redStrains}) {
        QLineSeries* line = view->lines[c];
        QLegendMarker* marker = chart->legend()->markers(line).front();
        QObject::connect(marker, &QLegendMarker::clicked, marker, [this, line, marker] {
            line->setVisible(!line->isVisible());
            marker->setVisible(true);
            QColor label = marker->labelBrush().color();
            label.setAlphaF(line->isVisible() ? 1.0 : 0.4);
            marker->setLabelBrush(label);
            view->strainAxis->setVisible(view->lines[blueStrains]->isVisible() || view->lines[redStrains]->isVisible());
            view->viewport()->update();  // the band, which may reach beyond the line
        });
    }

    menu = new QMenu(this);
    menu->addAction(QStringLiteral("Save picture..."), this, [this] { savePicture(); });
    menu->addAction(QStringLiteral("Save data..."), this, [this] {
        if (desk.saveData) desk.saveData();
    });
    menu->addSeparator();
    QAction* whole = menu->addAction(QStringLiteral("Reset zoom"), this, [this] { showWhole(); });
    QObject::connect(menu, &QMenu::aboutToShow, whole, [this, whole] { whole->setEnabled(zoomed.has_value()); });

    showChart(PopulationChart{});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void PopulationWindow::showChart(const PopulationChart& chart) {
    if (&chart != &shown) shown = chart;
    if (zoomed && zoomed->plate != chart.plate) zoomed.reset();
    if (!chart.title.empty()) setWindowTitle(QString::fromStdString(chart.title));
    // Each change of an axis or a series makes the series concerned lay out their
    // points again, which costs about as much as drawing them: the series are
    // emptied first, the axes set, then each series filled once.
    for (QLineSeries* line : view->lines) line->clear();
    double from = 0, to = 0;
    if (zoomed) {
        from = static_cast<double>(zoomed->first);
        to = static_cast<double>(zoomed->last);
        setTicks(view->ticks, from, to);
    } else if (!chart.nutrient.empty()) {
        from = static_cast<double>(chart.nutrient.front().tick);
        to = static_cast<double>(chart.nutrient.back().tick);
        fitTicks(view->ticks, chart.nutrient.front().tick, chart.nutrient.back().tick);
    } else {
        fitTicks(view->ticks, 0, 0);
    }
    auto top = [&](std::size_t a, std::size_t b) {
        return std::max(highest(pointsOf(chart, a), from, to), highest(pointsOf(chart, b), from, to));
    };
    fitAxis(view->creatureAxis, top(blueCreatures, redCreatures), 10);
    fitAxis(view->strainAxis, top(blueStrains, redStrains), 10);
    fitAxis(view->nutrientAxis, highest(chart.nutrient, from, to), 1000);

    for (std::size_t c = 0; c < curveCount; ++c) view->lines[c]->replace(valueLine(pointsOf(chart, c)));
    view->viewport()->update();  // the bands, wherever the lines went
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

void PopulationWindow::zoomInto(double fromTick, double toTick) {
    const auto first = static_cast<std::uint64_t>(std::max(0.0, std::floor(fromTick)));
    const auto last = static_cast<std::uint64_t>(std::max(0.0, std::ceil(toTick)));
    if (last <= first) return;
    zoomed = ChartZoom{shown.plate, first, last};
    showChart(shown);  // at once with what it holds; the program sends the ticks' own points next
}

void PopulationWindow::showWhole() {
    zoomed.reset();
    showChart(shown);
}

void PopulationWindow::savePicture() {
    if (!desk.askSaveFileName) return;
    const std::string path = desk.askSaveFileName("Save a picture of the chart",
                                                  "vivarix-population-tick-" + std::to_string(shown.tick) + ".png");
    if (path.empty()) return;
    if (view->grab().save(QString::fromStdString(path), "PNG")) return;
    if (desk.report) desk.report("The picture could not be saved to " + path + ".");
}

}  // namespace vivarix
