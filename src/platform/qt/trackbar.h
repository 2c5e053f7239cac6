// A horizontal slider that also tells when a move has ended.
#pragma once

#include <QSlider>
#include <functional>

namespace vivarix {

class Trackbar final : public QSlider {
public:
    // `endOfMove` is called when the left button is released after a press on the
    // slider (the end of a drag or of paging), and when an arrow, Page Up/Down, Home
    // or End key is released (not for auto-repeat).  The steps themselves are
    // QAbstractSlider::actionTriggered.
    Trackbar(std::function<void()> endOfMove, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    std::function<void()> endOfMove;
    bool leftPressed = false;
};

}  // namespace vivarix
