#include "MusicSetup.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "DesignedLayout.h"

namespace tolvex {

namespace {

constexpr char kModuleName[] = "libtolvexsynth.so";

// An installed copy keeps the module in its own library folder; the build keeps it beside the
// executable.
QString modulePath() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {QStringLiteral("%1/%2/%3")
              .arg(programDirectory, TOLVEX_MODULE_FROM_PROGRAM, QLatin1String(kModuleName)),
          QStringLiteral("%1/%2").arg(programDirectory, QLatin1String(kModuleName))})
        if (QFileInfo::exists(candidate)) return candidate;
    return {};
}

}  // namespace

music::SynthHost::Settings musicSettings() {
    return {modulePath(), QStringLiteral(TOLVEX_SOUND_FONT), QString::fromUtf8(layout::kWindowCaption),
            QStringLiteral(TOLVEX_ICON_NAME)};
}

}  // namespace tolvex
