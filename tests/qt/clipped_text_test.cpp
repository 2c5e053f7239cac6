// No control's text is cut off: with the fonts the program installs, at 96 dpi,
// every caption and label fits the control that shows it.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <string>

#include "qt_test_support.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

using ClippedText = ProgramWindow;

// The width a button's caption needs: what the style asks for around the text.
int neededWidth(const QAbstractButton& button) { return button.sizeHint().width(); }

TEST_F(ClippedText, EveryControlShowsItsWholeText) {
    passes(1);
    int checked = 0;
    for (QWidget* w : window()->findChildren<QWidget*>()) {
        const QFontMetrics metrics(w->font());
        std::string what;
        int needed = 0, available = 0;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            what = label->text().toStdString();
            needed = metrics.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text()).height();
            available = label->contentsRect().height();
            // A wrapped label that runs out of height is cut at its bottom; a word
            // wider than the label is cut at its side.
            for (const QString& word : label->text().split(' '))
                EXPECT_LE(metrics.horizontalAdvance(word), label->contentsRect().width()) << what;
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
            what = button->text().toStdString();
            needed = neededWidth(*button);
            available = button->width();
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            what = box->title().toStdString();
            needed = metrics.horizontalAdvance(box->title()) + 2 * metrics.averageCharWidth();
            available = box->width();
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                EXPECT_LE(metrics.horizontalAdvance(tabs->tabText(i)), tabs->tabRect(i).width())
                    << tabs->tabText(i).toStdString();
            ++checked;
            continue;
        } else {
            continue;
        }
        ++checked;
        EXPECT_LE(needed, available) << "\"" << what << "\" needs " << needed << " pixels, has " << available;
    }
    EXPECT_GE(checked, 15);
}

}  // namespace
}  // namespace vivarix::qttest
