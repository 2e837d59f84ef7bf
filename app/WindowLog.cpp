#include "WindowLog.h"

namespace tolvex {

Q_LOGGING_CATEGORY(displayLog, "tolvex.display", QtWarningMsg)
Q_LOGGING_CATEGORY(windowLog, "tolvex.window", QtWarningMsg)

}  // namespace tolvex
