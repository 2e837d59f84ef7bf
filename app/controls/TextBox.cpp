#include "TextBox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace tolvex {

namespace {

// Longer than a line of any box, so that such a word is broken anywhere in either wrap mode.
constexpr int kLongWord = 1000;
// Far longer than an answer typed by hand: only a paste makes a paragraph this long.
constexpr int kLongParagraph = 10000;

struct LongText {
    bool word = false;
    bool paragraph = false;
};

LongText findLongText(const QTextDocument& document) {
    LongText found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= kLongWord) continue;
        found.paragraph = found.paragraph || block.length() > kLongParagraph;
        int run = 0;
        for (const QChar c : block.text()) {
            run = c.isSpace() ? 0 : run + 1;
            if (run >= kLongWord) {
                found.word = true;
                break;
            }
        }
        if (found.word && found.paragraph) break;
    }
    return found;
}

// Qt shapes a whole paragraph or line again at every key, and for 200,000 pasted characters
// shaping was half of each key's time. Scripts that cannot be read unshaped are still shaped;
// in the others, with the boxes' monospaced font, only a combining accent may sit a pixel aside.
void shapeOnlyWhereNeeded(QWidget& box, bool longText) {
    QFont font = box.font();
    const int strategy = font.styleStrategy();
    const int wanted = longText ? strategy | QFont::PreferNoShaping : strategy & ~QFont::PreferNoShaping;
    if (wanted == strategy) return;
    font.setStyleStrategy(QFont::StyleStrategy(wanted));
    box.setFont(font);
}

}  // namespace

SingleLineBox::SingleLineBox(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { shapeOnlyWhereNeeded(*this, text.size() > kLongParagraph); });
}

// On a key's release Qt restarts the cursor's blinking and repaints the cursor, as the press
// did already. With a line longer than any typed answer each paint measures and draws the
// whole line again, which doubled a key's time; there the release only goes on to the window.
void SingleLineBox::keyReleaseEvent(QKeyEvent* event) {
    if (text().size() > kLongParagraph)
        event->ignore();
    else
        QLineEdit::keyReleaseEvent(event);
}

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // The document announces a change before it lays the change out.
    connect(document(), &QTextDocument::contentsChange, this, &MultiLineBox::adaptToLongText);
}

// Words wrap at their boundaries. A word longer than a line is broken anywhere, but Qt 6.4
// first measures the whole rest of that word for every line it makes: 200,000 characters
// without a space took 3.7 s to lay out, and as long again at every key. While the box holds
// such a word, every line breaks anywhere, which lays it out in a few milliseconds; the words
// beside it may then break inside too.
//
// The changed paragraph keeps its shaped glyphs once laid out: without them Qt analyses the
// whole paragraph twice more for each key, to place the cursor and to paint it.
void MultiLineBox::adaptToLongText(int position) {
    if (QTextLayout* changed = document()->findBlock(position).layout()) changed->setCacheEnabled(true);
    const LongText found = findLongText(*document());
    const QTextOption::WrapMode wanted =
        found.word ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wanted) setWordWrapMode(wanted);
    shapeOnlyWhereNeeded(*this, found.paragraph);
}

// A middle-click while nothing owns the primary selection hands over data without a single
// format, on which Qt 6.4.2's own paste crashes: there is nothing to insert.
void MultiLineBox::insertFromMimeData(const QMimeData* source) {
    if (source && !source->formats().isEmpty()) QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace tolvex
