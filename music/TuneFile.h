#pragma once

#include <QByteArrayView>
#include <QString>

namespace tolvex::music {

inline constexpr char16_t kTuneFileName[] = u"TXmidi.mid";

// The user's temporary directory (QDir::tempPath) with one trailing "/": the tune file's path
// is this followed by kTuneFileName, with no separator added. When TMPDIR names a folder that
// does not exist (or there is no /tmp), that folder, so that writing there fails rather than
// going elsewhere.
QString tuneDirectory();

struct TuneWriteResult {
    // The operating system's error number; 0 when the file was written.
    int error = 0;
    // What failed, naming the path, with the system's text for the error; empty on success.
    QString description;
};

// Writes the bytes as the file directory + kTuneFileName, whole and by atomic replacement
// (fileio::replaceFile): an older, longer file leaves no tail, and a link at the path is
// replaced, not followed. No bytes at all (a program built without its tune) is a failure.
TuneWriteResult writeTuneFile(const QString& directory, QByteArrayView bytes);

}  // namespace tolvex::music
