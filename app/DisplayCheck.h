#pragma once

#include <QString>

#include <optional>

namespace tolvex {

// Why no window can be shown (no display to connect to), or nothing if one can: asked when the
// toolkit could not start (DisplayStartGuard), to say so in one line.
std::optional<QString> displayProblem();

}  // namespace tolvex
