#pragma once

#include <QString>

#include <optional>

namespace tolvex::appfile {

// Why a nick cannot safely name the application file, or nothing if it can.
// The file is handed to the group, whose systems must be able to open it, and its name must
// look like what it is: refused are an empty nick, "." and "..", path separators, the
// characters < > : " | ? *, control characters, invisible format characters (U+202E, U+200B,
// U+FEFF, ...), line and paragraph separators, private-use, unassigned and unpaired surrogate
// code points, white space of any kind at either end, a leading dot (a hidden file) and a
// trailing dot. The message names the character by its U+ number and says why.
std::optional<QString> nickRefusal(const QString& nick);

// Why a file name (without its folder) chosen in the save dialog cannot name the application
// file, by the same rules, or nothing if it can.
std::optional<QString> fileNameRefusal(const QString& name);

}  // namespace tolvex::appfile
