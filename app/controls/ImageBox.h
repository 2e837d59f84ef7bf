#pragma once

#include <QPixmap>

#include "PageFrame.h"

namespace tolvex {

// An image of the window: a frame whose picture is stretched to its box. Like every frame
// it reports pointer moves; a press on it does nothing.
class ImageBox : public PageFrame {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent) : PageFrame(parent) {}

    void setPicture(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace tolvex
