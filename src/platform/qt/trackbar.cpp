#include "platform/qt/trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace vivarix {

Trackbar::Trackbar(std::function<void()> onEndOfMove, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), endOfMove(std::move(onEndOfMove)) {}

void Trackbar::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) leftPressed = true;
}

void Trackbar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && leftPressed) {
        leftPressed = false;
        endOfMove();
    }
}

void Trackbar::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        endOfMove();
        break;
    default:
        break;
    }
}

}  // namespace vivarix
