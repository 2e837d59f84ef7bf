#pragma once

class QMessageBox;

namespace tolvex {

// Makes a box wide enough for the window manager to show its whole title: a box with a short
// text ("hi") is otherwise so narrow that the title shrinks to "...".
void widenForTitle(QMessageBox& box);

}  // namespace tolvex
