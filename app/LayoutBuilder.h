#pragma once

#include <span>

#include "DesignedLayout.h"

class QLabel;

namespace tolvex {

class frmTolvex;

// Creates the controls of the rows in their designed state, once the whole table has passed its
// check: every control of the window in exactly one row, each row of the right kind, with an
// index in its array, flags its kind takes and a frame of the window as container (frames stand
// on the window itself), each question and answer box on its questionnaire page. A table that
// fails throws std::logic_error naming the row's kind, name and index, before any widget is made.
void buildDesignedLayout(frmTolvex& form, std::span<const layout::ControlRow> rows);

// A label that sizes its width to its caption on one line; its height is the font's cell, as
// designed. An empty caption keeps the label's size.
void autoSize(QLabel& label);

}  // namespace tolvex
