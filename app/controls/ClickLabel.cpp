#include "ClickLabel.h"

#include <QAccessible>
#include <QMouseEvent>

namespace tolvex {

ClickLabel::ClickLabel(QWidget* parent, Kind kind) : QLabel(parent), kind_(kind) { setMouseTracking(true); }

void ClickLabel::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    emit mousePressed(event->button(), event->globalPosition());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click =
        event->button() == Qt::LeftButton && leftPressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    emit mouseReleased(event->button());
    if (click) emit clicked();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved(event->buttons(), event->globalPosition());
}

// A double click is a second press: treat it as one so that two quick clicks are two clicks.
void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

}  // namespace tolvex
