#include "platform/qt/picture_widget.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace vivarix {

void copyColourValues(const Image& source, QImage& target) {
    if (!imageExists(source) || target.format() != QImage::Format_RGB32) return;
    const int width = std::min(source.width, target.width());
    const int height = std::min(source.height, target.height());
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from =
            source.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(source.width);
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // 0x??BBGGRR byte-swapped is 0xRRGGBB??: shifted, it is 0xFFRRGGBB.
            to[x] = 0xFF000000u | (__builtin_bswap32(from[x]) >> 8);
        }
    }
}

QImage toQImage(const Image& source) {
    if (!imageExists(source)) return QImage();
    QImage image(source.width, source.height, QImage::Format_RGB32);
    copyColourValues(source, image);
    return image;
}

PictureWidget::PictureWidget(int width, int height, QWidget* parent)
    : QWidget(parent), shown(width, height, QImage::Format_RGB32) {
    shown.fill(Qt::black);
    resize(width, height);
    // The picture covers the whole widget: nothing to erase before painting it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::showImage(const Image* source) {
    if (!source || !imageExists(*source)) {
        shown = QImage();
        shownValues.clear();
        resize(0, 0);
        return;
    }
    if (shown.width() != source->width || shown.height() != source->height) {
        shown = QImage(source->width, source->height, QImage::Format_RGB32);
        shownValues.clear();
        resize(source->width, source->height);
    }
    if (holds(*source)) return;
    takeIn(*source);
    update();
}

bool PictureWidget::holds(const Image& source) const {
    return shown.width() == source.width && shown.height() == source.height && shownValues == source.pixels;
}

void PictureWidget::takeIn(const Image& source) {
    copyColourValues(source, shown);
    shownValues = source.pixels;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    // One picture pixel per logical pixel.  On a high-density screen the painter
    // enlarges it to the device pixels: without smoothing, so that cells stay crisp
    // squares (2 by 2 device pixels at a ratio of 2; nearest picture pixel at
    // fractional ratios).
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(event->rect(), shown, event->rect());
}

bool PictureWidget::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    const auto* help = static_cast<QHelpEvent*>(e);
    const QPoint at = help->pos();
    for (const Desktop::SurfaceTip& tip : tips) {
        const QRect area(tip.x, tip.y, tip.width, tip.height);
        if (!area.contains(at)) continue;
        QToolTip::showText(help->globalPos(), QString::fromStdString(tip.text), this, area);
        return true;
    }
    QToolTip::hideText();
    e->ignore();
    return true;
}

}  // namespace vivarix
