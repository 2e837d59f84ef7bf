#pragma once

#include <QString>

#include <optional>

namespace tolvex {

// Why no window can be shown (no display to connect to), or nothing if one can. Checked
// before the toolkit starts, which would otherwise abort with a long report.
std::optional<QString> displayProblem();

}  // namespace tolvex
