#include "PageFrame.h"

#include <QMouseEvent>

#include "MouseRouting.h"

namespace tolvex {

PageFrame::PageFrame(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    keepMouseEventsToItself(this);
}

void PageFrame::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved();
}

void PageFrame::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PageFrame::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

}  // namespace tolvex
