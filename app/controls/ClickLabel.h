#pragma once

#include <QLabel>
#include <QPointF>

namespace tolvex {

// A label of the window. It keeps every mouse event to itself (never passes it on to its
// container), reports pointer moves and presses, and reports a click only for a left press
// and release on the same label.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent);

signals:
    void clicked();
    void mouseMoved(Qt::MouseButtons buttons, QPointF globalPosition);
    void mousePressed(Qt::MouseButton button, QPointF globalPosition);
    void mouseReleased(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool leftPressed_ = false;
};

}  // namespace tolvex
