#include "ImageBox.h"

#include <QPainter>

#include <cmath>

namespace tolvex {

namespace {

bool isWholeMultiple(double target, int source) {
    const double factor = target / source;
    return factor >= 1 && std::abs(factor - std::round(factor)) < 1e-9;
}

}  // namespace

void ImageBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void ImageBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    // Pixel art enlarged by a whole factor (the icon on a screen scaled by 2) keeps its square
    // pixels; any other stretch (the logo, a factor of 1.5) is smoothed.
    const double ratio = devicePixelRatioF();
    const bool crisp = isWholeMultiple(width() * ratio, picture_.width()) &&
                       isWholeMultiple(height() * ratio, picture_.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !crisp);
    painter.drawPixmap(rect(), picture_);
}

}  // namespace tolvex
