#include "PageFrame.h"

#include <QMouseEvent>

#include <utility>

namespace tolvex {

PageFrame::PageFrame(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
}

void PageFrame::whenFirstShown(std::function<void()> step) { firstShowSteps_.push_back(std::move(step)); }

void PageFrame::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved();
}

void PageFrame::showEvent(QShowEvent* event) {
    for (const auto& step : std::exchange(firstShowSteps_, {}))
        step();
    QFrame::showEvent(event);
}

}  // namespace tolvex
