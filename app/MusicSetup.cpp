#include "MusicSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>
#include <QWindow>

#include "DesignedLayout.h"
#include "MusicLog.h"

namespace tolvex {

namespace {

constexpr char kModuleName[] = "libtolvexsynth.so";

// An installed copy keeps the module in its own library folder; the build keeps it beside the
// executable.
QString modulePath() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
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

// Watches the window for its first exposure, then hands over to the synthesizer and goes.
class ExposureWatch final : public QObject {
public:
    ExposureWatch(QWindow* window, music::SynthHost& synth) : QObject(window), synth_(synth) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            // Queued, so that the window paints first.
            QMetaObject::invokeMethod(&synth_, &music::SynthHost::begin, Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    music::SynthHost& synth_;
};

}  // namespace

void beginMusicWhenExposed(QWidget& window, music::SynthHost& synth) {
    QWindow* handle = window.windowHandle();
    handle->installEventFilter(new ExposureWatch(handle, synth));
}

music::SynthHost::Settings musicSettings() {
    return {modulePath(), QStringLiteral(TOLVEX_SOUND_FONT), QString::fromUtf8(layout::kWindowCaption),
            QStringLiteral(TOLVEX_ICON_NAME)};
}

}  // namespace tolvex
