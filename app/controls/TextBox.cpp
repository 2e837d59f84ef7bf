#include "TextBox.h"

#include <QScrollBar>

#include "MouseRouting.h"

namespace tolvex {

SingleLineBox::SingleLineBox(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    keepMouseEventsToItself(this);
}

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    keepMouseEventsToItself(this);
}

}  // namespace tolvex
