#include "CircleShape.h"

#include <QPainter>

#include <algorithm>

namespace tolvex {

CircleShape::CircleShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CircleShape::setColours(const QColor& border, const QColor& fill) {
    border_ = border;
    fill_ = fill;
    update();
}

void CircleShape::paintEvent(QPaintEvent*) {
    const qreal diameter = std::min(width(), height());
    const QRectF circle((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
    QPainter painter(this);
    painter.setPen(border_);
    painter.setBrush(fill_);
    painter.drawEllipse(circle);
}

}  // namespace tolvex
