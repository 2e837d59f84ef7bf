#pragma once

#include <QLoggingCategory>

namespace tolvex {

// The display's lines on standard error: no display to open, a window manager that cannot move
// the window.
Q_DECLARE_LOGGING_CATEGORY(displayLog)
// The window's own: a wrong layout table.
Q_DECLARE_LOGGING_CATEGORY(windowLog)

}  // namespace tolvex
