#include "MessageBoxes.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace tolvex {

namespace {

// Room beside the title for the window manager's icon and buttons.
constexpr int kTitleBarExtras = 160;

}  // namespace

void widenForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int width = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) * 3 / 2 + kTitleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace tolvex
