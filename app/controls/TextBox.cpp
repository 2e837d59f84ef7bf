#include "TextBox.h"

#include <QScrollBar>

namespace tolvex {

SingleLineBox::SingleLineBox(QWidget* parent) : QLineEdit(parent) { setFrame(false); }

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

}  // namespace tolvex
