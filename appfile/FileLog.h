#pragma once

#include <QLoggingCategory>

namespace tolvex::appfile {

// The application file's lines on standard error: a write that failed, and where.
Q_DECLARE_LOGGING_CATEGORY(fileLog)

}  // namespace tolvex::appfile
