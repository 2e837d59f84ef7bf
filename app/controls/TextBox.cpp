#include "TextBox.h"

#include <QMimeData>
#include <QScrollBar>

namespace tolvex {

SingleLineBox::SingleLineBox(QWidget* parent) : QLineEdit(parent) { setFrame(false); }

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

// A middle-click while nothing owns the primary selection hands over data without a single
// format, on which Qt 6.4.2's own paste crashes: there is nothing to insert.
void MultiLineBox::insertFromMimeData(const QMimeData* source) {
    if (source && !source->formats().isEmpty()) QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace tolvex
