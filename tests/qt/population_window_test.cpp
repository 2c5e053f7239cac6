// The population window and the new keys on the offscreen desktop: H and the
// Population button open and close a resizable chart window whose title follows
// the plate's tick, its strain curves and their axis hide by their legend entries,
// its bands, zoom and menu work, closing it ends nothing and the program's end
// takes it along; F and N reach the program from either window; the middle button
// is reported as 519/520.
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/control_panel.h"
#include "app/startup.h"
#include "platform/qt/population_window.h"
#include "platform/qt/qt_desktop_testing.h"
#include "qt_test_support.h"
#include "render/population_csv.h"
#include "support/program_run.h"

namespace vivarix::qttest {
namespace {

class PopulationChartWindow : public ProgramWindow {
protected:
    void key(QWidget* in, Qt::Key k) {
        QTest::keyClick(in->windowHandle(), k);
        passes(2);
    }
    QLineSeries* series(QWidget* chartWindow, const char* name) {
        for (QAbstractSeries* s : chartWindow->findChild<QChartView*>()->chart()->series())
            if (s->name() == QString::fromLatin1(name)) return static_cast<QLineSeries*>(s);
        return nullptr;
    }
};

TEST_F(PopulationChartWindow, HOpensAResizableChartWhoseTitleFollowsTheTick) {
    QTest::mouseMove(surface(), QPoint(230, 230));
    QTest::mouseClick(surface(), Qt::LeftButton, {}, QPoint(230, 230));
    passes(3);
    key(window(), Qt::Key_H);
    QPointer<QWidget> chart = populationWindowWidget(*desktop);
    ASSERT_TRUE(chart);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_TRUE(chart->isWindow());
    EXPECT_NE(chart->minimumSize(), chart->maximumSize());
    passes(80);  // over a second at 61 passes a second
    const std::string title = chart->windowTitle().toStdString();
    const std::string prefix = "Vivarix population: tick ";
    ASSERT_EQ(title.substr(0, prefix.size()), prefix);
    const std::uint64_t shown = std::stoull(title.substr(prefix.size()));
    EXPECT_LE(shown, state->watch.plateTicks);
    EXPECT_GE(shown + 31, state->watch.plateTicks);  // at most half a second old

    QLineSeries* blue = series(chart, "blue creatures");
    ASSERT_NE(blue, nullptr);
    ASSERT_GT(blue->count(), 0);
    EXPECT_EQ(blue->at(blue->count() - 1).y(), 1.0);
    EXPECT_TRUE(static_cast<PopulationWindow*>(chart.data())
                    ->valuesAt(blue->at(blue->count() - 1).x())
                    .contains(QStringLiteral("blue creatures: 1")));
    // A click on a strain legend entry hides that series only, a second shows it.
    QLineSeries* strains = series(chart, "red strains");
    QLegendMarker* marker = chart->findChild<QChartView*>()->chart()->legend()->markers(strains).front();
    QLineSeries* blueStrains = series(chart, "blue strains");
    QLegendMarker* blueMarker = chart->findChild<QChartView*>()->chart()->legend()->markers(blueStrains).front();
    QAbstractAxis* strainAxis = strains->attachedAxes().back();
    EXPECT_EQ(strainAxis->titleText(), QStringLiteral("strains (dashed)"));
    EXPECT_EQ(blue->attachedAxes().back()->titleText(), QStringLiteral("creatures (solid)"));
    // The legend draws each line's own stroke: dashed for the strains.
    EXPECT_EQ(chart->findChild<QChartView*>()->chart()->legend()->markerShape(), QLegend::MarkerShapeFromSeries);
    EXPECT_EQ(strains->pen().style(), Qt::DashLine);
    emit marker->clicked();
    EXPECT_FALSE(strains->isVisible());
    EXPECT_TRUE(marker->isVisible());
    EXPECT_TRUE(blue->isVisible());
    EXPECT_TRUE(strainAxis->isVisible());  // the blue strains still use it
    emit blueMarker->clicked();
    EXPECT_FALSE(strainAxis->isVisible());
    emit marker->clicked();
    EXPECT_TRUE(strains->isVisible());
    EXPECT_TRUE(strainAxis->isVisible());
    emit blueMarker->clicked();

    // Keys typed into the chart window are the program's: H there closes it.
    key(chart, Qt::Key_H);
    EXPECT_FALSE(chart->isVisible());
    QTest::mouseClick(widget(populationButton), Qt::LeftButton, {}, QPoint(5, 5));
    passes(3);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_NE(widget(populationButton)->toolTip().indexOf(QStringLiteral("(H)")), -1);
    // Its close box hides it and the program goes on; the program's end takes it along.
    chart->close();
    passes(3);
    EXPECT_FALSE(chart->isVisible());
    desktop.reset();
    EXPECT_TRUE(chart.isNull());
}

// A chart handed to the window directly: its band, the zoom with the mouse, the
// menu and its picture; then "Save data..." through the program.
TEST_F(PopulationChartWindow, BandZoomMenuAndSavedFiles) {
    desktop->showPopulationWindow(true);
    auto* window = static_cast<PopulationWindow*>(populationWindowWidget(*desktop));
    PopulationChart given;
    given.plate = state->watch.plate;
    given.tick = 1000;
    for (std::uint64_t t = 0; t <= 1000; t += 10) {
        given.nutrient.push_back({t, 1000, 1000, 1000});
        given.creatures[0].push_back({t, 100, 300, 200});
        for (auto* zero : {&given.creatures[1], &given.strains[0], &given.strains[1]}) zero->push_back({t, 0, 0, 0});
    }
    desktop->showPopulation(given);
    QCoreApplication::processEvents();
    auto* view = window->findChild<QChartView*>();
    QLineSeries* blue = series(window, "blue creatures");
    auto at = [&](double tick, double value) { return view->chart()->mapToPosition(QPointF(tick, value), blue).toPoint(); };
    auto axis = [&] { return static_cast<QValueAxis*>(blue->attachedAxes().front()); };
    auto drag = [&](double from, double to) {
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at(from, 100));
        QTest::mouseMove(view->viewport(), at(to, 100));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at(to, 100));
    };

    // The spread is a band in the kind's colour around the line, off the grid lines.
    const QImage picture = view->grab().toImage();
    const QColor inBand = picture.pixelColor(at(500, 150));
    EXPECT_EQ(picture.pixelColor(at(500, 250)), inBand);
    EXPECT_NE(picture.pixelColor(at(500, 350)), inBand);
    EXPECT_GT(inBand.blue(), inBand.red());
    EXPECT_TRUE(window->valuesAt(500).contains(QStringLiteral("blue creatures: 200 (100..300)")));

    // A click is no zoom; a drag zooms into its ticks, at once and for the program.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(300, 100));
    EXPECT_FALSE(window->zoom());
    drag(200, 600);
    const std::optional<ChartZoom> zoom = desktop->populationZoom();
    ASSERT_TRUE(zoom);
    EXPECT_NEAR(static_cast<double>(zoom->first), 200, 4);
    EXPECT_NEAR(static_cast<double>(zoom->last), 600, 4);
    EXPECT_EQ(axis()->min(), static_cast<double>(zoom->first));
    EXPECT_EQ(axis()->max(), static_cast<double>(zoom->last));

    // The menu: the picture, the data, and the whole story again.
    QContextMenuEvent request(QContextMenuEvent::Mouse, at(400, 100), view->viewport()->mapToGlobal(at(400, 100)));
    QCoreApplication::sendEvent(view->viewport(), &request);
    auto* menu = window->findChild<QMenu*>();
    ASSERT_TRUE(menu && menu->isVisible());
    std::map<QString, QAction*> actions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) actions[a->text()] = a;
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_TRUE(actions[QStringLiteral("Reset zoom")]->isEnabled());
    menu->hide();
    actions[QStringLiteral("Reset zoom")]->trigger();
    EXPECT_FALSE(window->zoom());
    EXPECT_EQ(axis()->max(), 1000);
    drag(200, 600);  // a chart of another plate ends a zoom
    ++given.plate;
    desktop->showPopulation(given);
    EXPECT_FALSE(window->zoom());

    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                      ("vivarix-chart-" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(dir);
    const SaveDialogAnswer picturePath((dir / "chart.png").string());
    actions[QStringLiteral("Save picture...")]->trigger();
    EXPECT_EQ(picturePath.offeredName, QStringLiteral("vivarix-population-tick-1000.png"));
    EXPECT_EQ(QImage(QString::fromStdString((dir / "chart.png").string())).size(), view->size());

    // "Save data..." asks the program, which saves its history as kept.
    passes(10);
    key(window, Qt::Key_P);
    const SaveDialogAnswer dataPath((dir / "data.csv").string());
    actions[QStringLiteral("Save data...")]->trigger();
    passes(2);
    EXPECT_EQ(dataPath.offeredName.toStdString(),
              "vivarix-population-tick-" + std::to_string(state->watch.plateTicks) + ".csv");
    EXPECT_TRUE(test::readFile(dir / "data.csv") == historyCsv(state->watch.history));
    std::filesystem::remove_all(dir);
}

TEST_F(PopulationChartWindow, FAndNWorkFromTheKeyboardAndTheMiddleButtonIsReported) {
    key(window(), Qt::Key_F);
    EXPECT_EQ(window()->windowTitle().toStdString(), std::string(programTitle) + "  >> x4");
    key(window(), Qt::Key_P);
    const std::uint64_t ticks = state->session.ticks;
    key(window(), Qt::Key_N);
    EXPECT_EQ(state->session.ticks, ticks + 1);
    EXPECT_EQ(window()->windowTitle().toStdString(), std::string(programTitle) + "  *** PAUSE ***");

    QTest::mouseMove(surface(), QPoint(100, 100));
    QTest::mouseClick(surface(), Qt::MiddleButton, {}, QPoint(100, 100));
    EXPECT_EQ(withoutMotion(pollAll(*desktop)), (std::vector<Polled>{plain(event::middleDown), plain(event::middleUp)}));
}

}  // namespace
}  // namespace vivarix::qttest
