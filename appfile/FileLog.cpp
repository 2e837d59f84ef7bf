#include "FileLog.h"

namespace tolvex::appfile {

Q_LOGGING_CATEGORY(fileLog, "tolvex.file", QtWarningMsg)

}  // namespace tolvex::appfile
