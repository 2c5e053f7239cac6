// Help for a newcomer: F1 opens the help text, the legend on the plate explains
// itself under the pointer, and the window carries the program's icon.
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QTextBrowser>
#include <QToolTip>
#include <gtest/gtest.h>

#include "qt_test_support.h"

namespace vivarix::qttest {
namespace {

using Help = ProgramWindow;

QTextBrowser* helpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* browser = qobject_cast<QTextBrowser*>(w); browser && browser->isVisible()) return browser;
    return nullptr;
}

TEST_F(Help, F1OpensTheHelpWindowWhichClosesAndOpensAgain) {
    ASSERT_EQ(helpWindow(), nullptr);
    QTest::keyClick(window()->windowHandle(), Qt::Key_F1);
    passes(1);
    QTextBrowser* help = helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle().toStdString(), "Vivarix help");
    const QString text = help->toPlainText();
    for (const char* words : {"Geschlechtsreif", "maturity age", "sr: sharp right", "Ctrl+S", "middle click"})
        EXPECT_TRUE(text.contains(QLatin1String(words), Qt::CaseInsensitive)) << words;

    help->close();
    EXPECT_EQ(helpWindow(), nullptr);
    passes(2);  // the program goes on without it
    QTest::keyClick(window()->windowHandle(), Qt::Key_F1);
    passes(1);
    EXPECT_EQ(helpWindow(), help);
    help->close();
}

TEST_F(Help, TheLegendNamesTheItemUnderThePointer) {
    passes(1);
    const std::pair<QPoint, const char*> items[] = {
        {{12, 12}, "Blue creatures"}, {{40, 30}, "Red creatures"}, {{10, 50}, "A: nutrient"},
        {{30, 70}, "Colour statistics"}, {{12, 90}, "Magnifier"}, {{13, 113}, "R moves the magnifier"},
        {{430, 10}, "Frames"}};
    for (const auto& [at, words] : items) {
        QHelpEvent ask(QEvent::ToolTip, at, surface()->mapToGlobal(at));
        QApplication::sendEvent(surface(), &ask);
        EXPECT_TRUE(QToolTip::isVisible()) << words;
        EXPECT_TRUE(QToolTip::text().startsWith(QLatin1String(words))) << QToolTip::text().toStdString();
    }
    QHelpEvent onThePlate(QEvent::ToolTip, {230, 230}, surface()->mapToGlobal(QPoint(230, 230)));
    QApplication::sendEvent(surface(), &onThePlate);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));  // hidden after a short fade
}

TEST_F(Help, TheWindowCarriesTheProgramsIcon) {
    const QList<QSize> sizes = window()->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256)));
}

}  // namespace
}  // namespace vivarix::qttest
