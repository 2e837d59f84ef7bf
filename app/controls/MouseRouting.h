#pragma once

class QWidget;

namespace tolvex {

// A mouse event over a control belongs to that control alone: it is never handed on to the
// control's container. Applies to the control and all its inner widgets (viewports, scroll
// bars), and turns on tracking so that moves without a button are seen.
void keepMouseEventsToItself(QWidget* control);

}  // namespace tolvex
