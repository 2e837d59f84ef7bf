#pragma once

#include <QString>

namespace tolvex::appfile {

struct WriteResult {
    bool ok = false;
    int code = 0;         // the operating system's error number (> 0) on failure
    QString description;  // its message, or why the nick was refused
    QString path;
};

// Writes <directory>/<nick>.app as UTF-8 without a byte-order mark, replacing any earlier
// file of that name atomically: on failure the earlier file is untouched and no partial file
// is left. A nick that cannot safely name a file is refused before anything is written.
WriteResult writeApplicationFile(const QString& directory, const QString& nick, const QString& text);

}  // namespace tolvex::appfile
