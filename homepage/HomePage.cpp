#include "HomePage.h"

#include <QDesktopServices>
#include <QUrl>

#include "VersionRecord.h"

namespace tolvex::homepage {

QString homePageAddress() { return QString::fromUtf8(version::kComments); }

void openHomePage() { QDesktopServices::openUrl(QUrl(homePageAddress())); }

}  // namespace tolvex::homepage
