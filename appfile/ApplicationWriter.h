#pragma once

#include <QString>

namespace tolvex::appfile {

struct WriteResult {
    int code = 0;         // the operating system's error number (> 0) on failure; 0 when written
    QString description;  // the system's message for the error, or why the nick was refused
    QString advice;       // one plain sentence naming the file or folder and what to do; may be empty
    bool folderNotWritable = false;  // this user may not write in the folder: saving elsewhere may work
    bool nameRefused = false;        // the file's name breaks the nick's rules: nothing was written

    bool ok() const { return code == 0; }
};

// Writes the text as <directory>/<nick>.app, UTF-8 without a byte-order mark, replacing an
// earlier file of that name whole or not at all (fileio::replaceFile, flushed to the disk).
// A nick that cannot safely name the file is refused before anything is written.
WriteResult writeApplication(const QString& directory, const QString& nick, const QString& text);

// Writes the text in the same way to a path the applicant chose, whose file name must pass the
// nick's rules (fileNameRefusal). A failed write is also told in one warning line.
WriteResult writeApplicationTo(const QString& path, const QString& text);

}  // namespace tolvex::appfile
