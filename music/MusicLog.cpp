#include "MusicLog.h"

#include <map>
#include <mutex>

namespace tolvex::music {

Q_LOGGING_CATEGORY(musicLog, "tolvex.music", QtWarningMsg)

namespace {

// The window's thread, the music thread and the audio thread all report.
std::mutex toldMutex;
std::map<Fallback, QString> told;

}  // namespace

void warnFallback(Fallback what, const QString& why, QtMsgType type) {
    {
        const std::lock_guard lock(toldMutex);
        QString& last = told[what];
        if (last == why) return;
        last = why;
    }
    if (type == QtCriticalMsg)
        qCCritical(musicLog, "%s", qUtf8Printable(why));
    else
        qCWarning(musicLog, "%s", qUtf8Printable(why));
}

void noteRecovered(Fallback what, const QString& how) {
    {
        const std::lock_guard lock(toldMutex);
        if (told[what].isEmpty()) return;
        told[what].clear();
    }
    qCWarning(musicLog, "%s", qUtf8Printable(how));
}

}  // namespace tolvex::music
