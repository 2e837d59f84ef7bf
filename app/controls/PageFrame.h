#pragma once

#include <QFrame>

namespace tolvex {

// A frame of the window (a page or a tab row): flat, no frame line; reports pointer moves
// over its own background and keeps them from the window.
class PageFrame : public QFrame {
    Q_OBJECT
public:
    explicit PageFrame(QWidget* parent);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace tolvex
