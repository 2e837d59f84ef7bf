#include "TextBox.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace tolvex {

namespace {

// Longer than a line of any box, so that such a word is broken anywhere in either wrap mode.
constexpr int kLongWord = 1000;

bool holdsLongWord(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= kLongWord) continue;
        int run = 0;
        for (const QChar c : block.text()) {
            run = c.isSpace() ? 0 : run + 1;
            if (run >= kLongWord) return true;
        }
    }
    return false;
}

}  // namespace

SingleLineBox::SingleLineBox(QWidget* parent) : QLineEdit(parent) { setFrame(false); }

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // The document announces a change before it lays the change out.
    connect(document(), &QTextDocument::contentsChange, this, &MultiLineBox::chooseWrapping);
}

// Words wrap at their boundaries. A word longer than a line is broken anywhere, but Qt 6.4
// first measures the whole rest of that word for every line it makes: 200,000 characters
// without a space took 3.7 s to lay out, and as long again at every key. While the box holds
// such a word, every line breaks anywhere, which lays it out in a few milliseconds; the words
// beside it may then break inside too.
void MultiLineBox::chooseWrapping() {
    const QTextOption::WrapMode wanted =
        holdsLongWord(*document()) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wanted) setWordWrapMode(wanted);
}

// A middle-click while nothing owns the primary selection hands over data without a single
// format, on which Qt 6.4.2's own paste crashes: there is nothing to insert.
void MultiLineBox::insertFromMimeData(const QMimeData* source) {
    if (source && !source->formats().isEmpty()) QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace tolvex
