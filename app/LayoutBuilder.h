#pragma once

#include <span>

#include "DesignedLayout.h"

class QLabel;

namespace tolvex {

class frmTolvex;

// Creates the controls of the rows in their designed state. A row that names no control of
// the window, has the wrong kind or an index outside its array, or a container that is not
// a frame of the window, throws std::logic_error.
void buildDesignedLayout(frmTolvex& form, std::span<const layout::ControlRow> rows);

// A label that sizes its width to its caption on one line; its height is the font's cell, as
// designed. An empty caption keeps the label's size.
void autoSize(QLabel& label);

}  // namespace tolvex
