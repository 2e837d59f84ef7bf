#pragma once

#include <QByteArrayView>
#include <QString>

namespace tolvex::fileio {

enum class Durability { Cached, OnDisk };

struct ReplaceResult {
    enum class Step { Create, Write, Replace };

    int error = 0;  // the operating system's error number; 0 when the file was replaced
    Step failedAt = Step::Create;
};

// Replaces the file at `path` by one that holds exactly `bytes`, whole or not at all. The bytes
// go to a new file in the same folder, created exclusively so that nothing planted at its name
// is followed; every write is checked, and with Durability::OnDisk the file is also flushed to
// the disk, so that an error that only shows there (a full disk) is caught before the commit.
// The new file is then renamed over `path`: a reader sees the old file or the new one, never a
// part, and a link at `path` is replaced, while what it points to stays untouched. An earlier
// file keeps its permission bits. On failure `path` is as it was and no temporary file is left
// behind; the temporary files of a write that was killed are removed by the next one in the
// folder (TemporaryFile.h).
ReplaceResult replaceFile(const QString& path, QByteArrayView bytes, Durability durability);

}  // namespace tolvex::fileio
