// The population window and the new keys on the offscreen desktop: H and the
// Population button open and close a resizable chart window whose title follows
// the plate's tick, its strain curves hide by their legend entries, closing it ends
// nothing and the program's end takes it along; F and N reach the program from
// either window; the middle button is reported as 519/520.
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "app/control_panel.h"
#include "app/startup.h"
#include "platform/qt/population_window.h"
#include "platform/qt/qt_desktop_testing.h"
#include "qt_test_support.h"

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
    emit marker->clicked();
    EXPECT_FALSE(strains->isVisible());
    EXPECT_TRUE(marker->isVisible());
    EXPECT_TRUE(blue->isVisible());
    emit marker->clicked();
    EXPECT_TRUE(strains->isVisible());

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
