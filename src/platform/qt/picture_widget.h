// A widget that only shows a finished picture: the rendering surface and the image
// views.  It knows nothing of what the picture shows.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "platform/core/desktop.h"
#include "platform/core/graphics.h"

namespace vivarix {

// Copies the colour values of `source` (red in the low byte, top byte ignored) into
// `target`, a Format_RGB32 image, over the area the two have in common.
void copyColourValues(const Image& source, QImage& target);

// `source` as a new Format_RGB32 image of its own size (a null image for an empty one).
QImage toQImage(const Image& source);

class PictureWidget final : public QWidget {
public:
    // A black picture of width by height pixels.
    PictureWidget(int width, int height, QWidget* parent);

    // The picture, to be filled and then shown with repaint() or update().
    QImage& picture() { return shown; }

    // Shows `source` at its own size: the widget takes the image's size.  No image
    // (nullptr or empty) shows nothing.  A picture equal to the one shown already is
    // not converted or painted again.
    void showImage(const Image* source);

    // Whether `source` holds exactly the colour values last taken in with
    // takeIn (or showImage); the main loop shows the same frame over and over while
    // paused, and an unchanged picture needs no copy and no paint.
    bool holds(const Image& source) const;
    // Converts `source` into the picture and remembers it for holds().
    void takeIn(const Image& source);

    // Tips for areas of the picture, in picture coordinates; the first area under
    // the pointer wins.
    void setTips(std::vector<Desktop::SurfaceTip> areas) { tips = std::move(areas); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::vector<Desktop::SurfaceTip> tips;
    QImage shown;
    std::vector<std::uint32_t> shownValues;  // the colour values behind `shown`
};

}  // namespace vivarix
