#include <QWindow>

#include <utility>

#include "WindowLog.h"
#include "frmTolvex.h"

namespace tolvex {

// The window manager moves the window and ends the move when the button is released.
void frmTolvex::lblTitleBar_MouseDown(Qt::MouseButton Button, QPointF globalPosition) {
    if (Button != Qt::LeftButton) return;
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    // No window manager, or one without the move protocol: follow the pointer ourselves.
    static bool told = false;
    if (!std::exchange(told, true))
        qCWarning(displayLog,
                  "the window manager does not move windows (_NET_WM_MOVERESIZE): the window follows "
                  "the pointer itself");
    followOffset_ = globalPosition - QPointF(pos());
}

// Moves over a title-bar label: while the window follows the pointer they move it,
// otherwise they put out the highlights like the rest of the title bar.
void frmTolvex::followPointer(Qt::MouseButtons buttons, QPointF globalPosition) {
    if (followOffset_ && (buttons & Qt::LeftButton)) {
        move((globalPosition - *followOffset_).toPoint());
        return;
    }
    followOffset_.reset();
    ClearHighlights();
}

}  // namespace tolvex
