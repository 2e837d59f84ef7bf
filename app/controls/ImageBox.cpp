#include "ImageBox.h"

#include <QMouseEvent>

#include "MouseRouting.h"

namespace tolvex {

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setScaledContents(true);
    keepMouseEventsToItself(this);
}

void ImageBox::setPicture(const QPixmap& picture) { setPixmap(picture); }

void ImageBox::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved();
}

void ImageBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

void ImageBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

}  // namespace tolvex
