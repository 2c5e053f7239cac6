// The control panel as start-up builds it: every control's number, kind, tab, place,
// text, range and initial value, and the pictures on the image buttons as keys and
// clicks change what the buttons stand for.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/plate_preparation.h"
#include "app/startup.h"
#include "assets/builtin_images.h"
#include "platform/qt/picture_widget.h"
#include "qt_test_support.h"
#include "render/magnifier.h"
#include "session/control_table.h"

namespace vivarix::qttest {
namespace {

struct Expected {
    std::int32_t number;  // -1: no number of its own; found on its page by its text
    std::string kind;
    int tab;              // -1: on the window itself
    QRect place;          // in the window's or the page's coordinates
    std::string text;     // label, caption or title; the panel's tab captions joined by '|'
    int minimum = 0, maximum = 0;  // a trackbar's range
    int value = 0;        // a trackbar's position; 1 for the selected option
    bool enabled = true;
    std::int32_t image = -1;  // the picture an image button or view shows
};

QRect rect(const Place& p) { return QRect(p.x, p.y, p.width, p.height); }

// The panel as the user finds it when the first frame is shown: the trackbars and
// their labels as the control table has them, the other controls as listed here.
std::vector<Expected> panelAtTheFirstFrame() {
    using namespace control;
    std::vector<Expected> panel = {
        {inspectorView, "image view", -1, {465, 0, 245, 200}, "", 0, 0, 0, true, inspectorImage},
        {kindButton, "image button", -1, {465, 210, 20, 20}, "", 0, 0, 0, true, kind0Image},
        {statsButton, "image button", -1, {515, 210, 20, 20}, "", 0, 0, 0, true, statsOffImage},
        {magnifierButton, "image button", -1, {540, 210, 20, 20}, "", 0, 0, 0, true, magnifierOffImage},
        {tabPanel, "panel", -1, {465, 250, 245, 205}, "Global Parameters|Actions|Settings|About"},
        {-1, "frame", 0, {5, 0, 230, 110}, "Feeding"},
        {nutrientLabel, "text", 2, {5, 50, 130, 20}, "Initial Nutrium:"},
        {randomOption, "option", 2, {5, 65, 60, 20}, "Random", 0, 0, 1},
        {emptyOption, "option", 2, {5, 80, 60, 20}, "Empty"},
        {newPlateButton, "button", 2, {145, 100, 90, 20}, "New Vivarix"},
        {sizeLabel, "text", 3, {5, 5, 130, 20}, programTitle},
        {aboutView, "image view", 3, {5, 5, 230, 115}, "", 0, 0, 0, true, aboutImage},
        {seedLabel, "text", 3, {5, 125, 230, 20}, "Seed: 20261207"},
    };
    for (const TrackbarSpec* t : trackbars) {
        const int tab = static_cast<int>(t->tab);
        // The "About" text takes over the size label's number; that label is found by its text.
        const std::int32_t label = t->label == sizeLabel ? -1 : t->label;
        panel.push_back({label, "text", tab, rect(t->labelPlace), labelText(*t, t->initial)});
        panel.push_back({t->number, "trackbar", tab, rect(t->place), "", t->lowest, t->highest, t->initial, t->enabled});
    }
    return panel;
}

class ControlPanel : public ProgramWindow {
protected:
    QTabWidget* tabs() const { return static_cast<QTabWidget*>(widget(control::tabPanel)); }

    std::vector<QWidget*> onPage(int tab) const {
        const QList<QWidget*> found = tabs()->widget(tab)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        return {found.begin(), found.end()};
    }

    static std::string kindOf(QWidget* w) {
        if (qobject_cast<QTabWidget*>(w)) return "panel";
        if (qobject_cast<QGroupBox*>(w)) return "frame";
        if (qobject_cast<QLabel*>(w)) return "text";
        if (qobject_cast<QSlider*>(w)) return "trackbar";
        if (qobject_cast<QRadioButton*>(w)) return "option";
        if (auto* button = qobject_cast<QPushButton*>(w)) return button->text().isEmpty() ? "image button" : "button";
        return dynamic_cast<PictureWidget*>(w) ? "image view" : "other";
    }

    std::string textOf(QWidget* w) const {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(w)) text = frame->title();
        if (w == tabs())
            for (int tab = 0; tab < tabs()->count(); ++tab) text += (tab ? "|" : "") + tabs()->tabText(tab);
        return text.toStdString();
    }

    int tabOf(QWidget* w) const {
        for (int tab = 0; tab < tabs()->count(); ++tab)
            if (w->parentWidget() == tabs()->widget(tab)) return tab;
        return -1;
    }

    QWidget* find(const Expected& e) const {
        if (e.number != -1) return widget(e.number);
        for (QWidget* w : onPage(e.tab))
            if (textOf(w) == e.text) return w;
        return nullptr;
    }

    // Whether an image button or view shows exactly image `image` (-1: no picture).
    bool shows(QWidget* w, std::int32_t image) const {
        QImage shown;
        if (auto* view = dynamic_cast<PictureWidget*>(w)) shown = view->picture();
        if (auto* button = qobject_cast<QPushButton*>(w)) shown = button->icon().pixmap(button->iconSize()).toImage();
        if (image == -1) return shown.isNull();
        const QImage expected = toQImage(state->graphics.images[image]);
        return !shown.isNull() && shown.convertToFormat(QImage::Format_RGB32) == expected;
    }
};

TEST_F(ControlPanel, EveryControlAsTheFirstFrameShowsIt) {
    passes(1);  // the first pass shows the inspector picture
    const std::vector<Expected> panel = panelAtTheFirstFrame();
    for (const Expected& e : panel) {
        SCOPED_TRACE("control " + std::to_string(e.number) + " \"" + e.text + "\"");
        QWidget* w = find(e);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(kindOf(w), e.kind);
        EXPECT_EQ(tabOf(w), e.tab);
        // An option grows to show its whole caption.
        const int width = e.kind == "option" ? std::max(e.place.width(), w->sizeHint().width()) : e.place.width();
        EXPECT_EQ(w->geometry(), QRect(e.place.topLeft(), QSize(width, e.place.height())));
        EXPECT_EQ(textOf(w), e.text);
        const auto* slider = qobject_cast<QSlider*>(w);
        const auto* option = qobject_cast<QRadioButton*>(w);
        EXPECT_EQ(slider ? std::pair(slider->minimum(), slider->maximum()) : std::pair(0, 0),
                  std::pair(e.minimum, e.maximum));
        EXPECT_EQ(slider ? slider->value() : option ? int{option->isChecked()} : 0, e.value);
        EXPECT_EQ(w->isEnabled(), e.enabled);
        EXPECT_TRUE(shows(w, e.image)) << "image " << e.image;
    }
    // Nothing else is on the pages.
    for (int tab = 0; tab < tabs()->count(); ++tab)
        EXPECT_EQ(onPage(tab).size(),
                  static_cast<std::size_t>(std::count_if(panel.begin(), panel.end(),
                                                         [tab](const Expected& e) { return e.tab == tab; })))
            << "tab " << tab;
}

TEST_F(ControlPanel, ImageButtonsShowWhatKeysAndClicksChose) {
    // A creature on the plate keeps the magnifier on once it is switched on.
    QTest::mouseMove(surface(), QPoint(230, 230));
    QTest::mouseClick(surface(), Qt::LeftButton, {}, QPoint(230, 230));
    passes(3);
    ASSERT_EQ(state->creatureList.size(), 1u);
    auto key = [&](Qt::Key k) {
        QTest::keyClick(window()->windowHandle(), k);
        passes(2);
    };
    auto click = [&](std::int32_t number) {
        QTest::mouseMove(widget(number), QPoint(5, 5));
        QTest::mouseClick(widget(number), Qt::LeftButton, {}, QPoint(5, 5));
        passes(3);
    };
    const std::int32_t buttons[] = {control::kindButton, control::statsButton, control::magnifierButton};
    const struct {
        const char* what;
        std::function<void()> act;
        std::array<std::int32_t, 3> shown;  // the images on the three buttons
    } steps[] = {
        {"start", [] {}, {kind0Image, statsOffImage, magnifierOffImage}},
        {"S", [&] { key(Qt::Key_S); }, {kind1Image, statsOffImage, magnifierOffImage}},
        {"C", [&] { key(Qt::Key_C); }, {kind0Image, statsOffImage, magnifierOffImage}},
        {"G", [&] { key(Qt::Key_G); }, {kind0Image, statsOnImage, magnifierOffImage}},
        {"L", [&] { key(Qt::Key_L); }, {kind0Image, statsOnImage, magnifierOnImage}},
        {"kind button", [&] { click(control::kindButton); }, {kind1Image, statsOnImage, magnifierOnImage}},
        {"statistics button", [&] { click(control::statsButton); }, {kind1Image, statsOffImage, magnifierOnImage}},
        {"magnifier button", [&] { click(control::magnifierButton); }, {kind1Image, statsOffImage, magnifierOffImage}},
        {"kind button again", [&] { click(control::kindButton); }, {kind0Image, statsOffImage, magnifierOffImage}},
    };
    for (const auto& step : steps) {
        step.act();
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_TRUE(shows(widget(buttons[i]), step.shown[i]))
                << "button " << buttons[i] << " after " << step.what << ": not image " << step.shown[i];
    }
}

}  // namespace
}  // namespace vivarix::qttest
