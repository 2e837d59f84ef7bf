#pragma once

#include <QLabel>

namespace tolvex {

// An image of the window: its picture stretched to the box; reports pointer moves and keeps
// every mouse event to itself (a press on it does nothing).
class ImageBox : public QLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent);

    void setPicture(const QPixmap& picture);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tolvex
