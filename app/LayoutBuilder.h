#pragma once

class QLabel;

namespace tolvex {

class frmTolvex;

// Creates every control of the window in its designed state.
void buildDesignedLayout(frmTolvex& form);

// A label that sizes its width to its caption on one line; its height is the font's cell, as
// designed. An empty caption keeps the label's size.
void autoSize(QLabel& label);

}  // namespace tolvex
