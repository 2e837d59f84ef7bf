#include "MouseRouting.h"

#include <QWidget>

namespace tolvex {

void keepMouseEventsToItself(QWidget* control) {
    control->setMouseTracking(true);
    control->setAttribute(Qt::WA_NoMousePropagation);
    for (QWidget* inner : control->findChildren<QWidget*>()) {
        inner->setMouseTracking(true);
        inner->setAttribute(Qt::WA_NoMousePropagation);
    }
}

}  // namespace tolvex
