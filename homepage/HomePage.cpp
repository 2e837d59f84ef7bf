#include "HomePage.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

#include "VersionRecord.h"

namespace tolvex::homepage {

namespace {

Q_LOGGING_CATEGORY(homePageLog, "tolvex.homepage", QtWarningMsg)

}  // namespace

QString homePageAddress() { return QString::fromUtf8(version::kComments); }

void openHomePage() {
    if (!QDesktopServices::openUrl(QUrl(homePageAddress())))
        qCWarning(homePageLog, "no program opens %s (xdg-open, of xdg-utils, is missing or failed)",
                  qUtf8Printable(homePageAddress()));
}

}  // namespace tolvex::homepage
