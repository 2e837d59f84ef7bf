#pragma once

#include <QLoggingCategory>
#include <QString>

namespace tolvex::music {

// The music's lines on standard error: a warning for each fallback, debug lines for the road taken.
Q_DECLARE_LOGGING_CATEGORY(musicLog)

// What the music can fall back from. Each is told once: the same failure found again (a check
// before every restart, a retry every second) says nothing more.
enum class Fallback { Output, SoundFont, Module, Tune, Engine };

// One line of `type` saying why, unless it is the line last told for `what`.
void warnFallback(Fallback what, const QString& why, QtMsgType type = QtWarningMsg);
// One warning line saying that `what` works again, when it had fallen back; nothing otherwise.
void noteRecovered(Fallback what, const QString& how);

}  // namespace tolvex::music
