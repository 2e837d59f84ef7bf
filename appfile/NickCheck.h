#pragma once

#include <QString>

#include <optional>

namespace tolvex::appfile {

// Why a nick cannot safely name the application file, or nothing if it can.
// The file is handed to the group, whose systems must be able to open it: refused are an
// empty nick, "." and "..", path separators, the characters < > : " | ? *, control
// characters, and a name ending in a dot or a space.
std::optional<QString> nickRefusal(const QString& nick);

}  // namespace tolvex::appfile
