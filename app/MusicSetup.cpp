#include "MusicSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DesignedLayout.h"
#include "MusicLog.h"

namespace tolvex {

namespace {

constexpr char kModuleName[] = "libtolvexsynth.so";

// An installed copy keeps the module in its own library folder; the build keeps it beside the
// executable. Read before the application object exists: from the link the kernel keeps to the
// running executable.
QString modulePath() {
    const QString programDirectory =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    const QStringList candidates{
        QStringLiteral("%1/%2/%3")
            .arg(programDirectory, TOLVEX_MODULE_FROM_PROGRAM, QLatin1String(kModuleName)),
        QStringLiteral("%1/%2").arg(programDirectory, QLatin1String(kModuleName))};
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate)) return candidate;
    music::warnFallback(music::Fallback::Module,
                        QStringLiteral("the synthesizer module is neither %1 nor %2: no music")
                            .arg(QDir::cleanPath(candidates[0]), candidates[1]));
    return {};
}

}  // namespace

music::SynthHost::Settings musicSettings() {
    return {modulePath(), QStringLiteral(TOLVEX_SOUND_FONT), QString::fromUtf8(layout::kWindowCaption),
            QStringLiteral(TOLVEX_ICON_NAME)};
}

}  // namespace tolvex
