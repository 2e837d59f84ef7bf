#pragma once

#include <QByteArray>
#include <QString>

namespace tolvex::fileio {

// A new file in `folder`, named .tolvex-<16 hex digits>.tmp, created exclusively (nothing
// planted at its name is followed) and open for writing. It stays locked (flock) for as long
// as it is open, so that every copy of the program can tell that its writer is alive. Returns
// the descriptor, or -1 with errno set; `name` receives the file's path.
int createLockedTemporary(const QString& folder, QByteArray& name);

// Removes the temporary files in `folder` that a killed writer left behind: those whose lock
// can be taken. A file that another running copy is still writing stays.
void removeAbandonedTemporaries(const QString& folder);

}  // namespace tolvex::fileio
