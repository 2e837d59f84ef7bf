#pragma once

#include <QByteArrayView>
#include <QString>

namespace tolvex::music {

inline constexpr char16_t kTuneFileName[] = u"TXmidi.mid";

// The user's own temporary directory, with one trailing "/": $TMPDIR when set, else the user's
// private runtime folder $XDG_RUNTIME_DIR when set, else /tmp.
QString tuneDirectory();

struct TuneWriteResult {
    // The operating system's error number; 0 when the file was written.
    int error = 0;
    // What failed, naming the path, with the system's text for the error; empty on success.
    QString description;
    // Where the tune was written.
    QString path;
};

// Writes the bytes as the file directory + kTuneFileName, whole and by atomic replacement
// (fileio::replaceFile): an older, longer file leaves no tail, and a link at the path is replaced,
// not followed. A file of this account's that holds exactly these bytes is kept. Where a shared
// folder holds another account's tune file, which this account may not replace, the tune goes to
// TXmidi-<uid>.mid beside it, or, should another account hold that too, into the user's own folder
// TolvexApp-<uid> there, made once and used again; one warning line tells where. No bytes at all (a
// program built without its tune) is a failure.
TuneWriteResult writeTuneFile(const QString& directory, QByteArrayView bytes);

}  // namespace tolvex::music
