#include "PageFrame.h"

#include <QMouseEvent>

namespace tolvex {

PageFrame::PageFrame(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
}

void PageFrame::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved();
}

}  // namespace tolvex
