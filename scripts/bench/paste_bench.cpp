// The paste benchmark's helper: one answer box of the Other page's size and font, either the
// program's own (MultiLineBox), a plain QPlainTextEdit set up as that box was before it chose
// its wrapping and shaping, or a single-line box (SingleLineBox). Pastes a text through the
// clipboard, then types keys, and prints
//   <paste> <median key> <worst key> <exact> <paste> <median key> <worst key>
// in milliseconds: first on the clock, then in the thread's processor time, which other work
// on a busy machine does not inflate. Each figure runs until the box has laid out and painted
// what changed; <exact> says whether the box holds exactly what was pasted and typed.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <vector>

#include "TextBox.h"
#include "Units.h"

namespace {

QWidget* makeBox(const QString& kind, QWidget* window) {
    if (kind == QLatin1String("box")) return new tolvex::MultiLineBox(window);
    if (kind == QLatin1String("line")) {
        // As the window makes every single-line box without a designed limit.
        auto* line = new tolvex::SingleLineBox(window);
        line->setMaxLength(std::numeric_limits<int>::max());
        return line;
    }
    auto* plain = new QPlainTextEdit(window);
    plain->setFrameShape(QFrame::NoFrame);
    plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    plain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    plain->setTabChangesFocus(true);
    return plain;
}

// Letters, with a space after every seventh when `spaces`.
QString sample(int length, bool spaces) {
    QString text(length, QLatin1Char('a'));
    for (int i = 0; i < length; ++i)
        text[i] = spaces && i % 8 == 7 ? QLatin1Char(' ') : QChar(u'a' + i % 26);
    return text;
}

double processorMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The milliseconds, on the clock and of processor time, that `change` takes until the box is
// laid out and painted again, once, as the window paints once for each key.
template <typename Change>
std::pair<qint64, qint64> timed(QWidget& box, Change change) {
    const double processor = processorMs();
    QElapsedTimer clock;
    clock.start();
    change();
    auto* area = qobject_cast<QAbstractScrollArea*>(&box);
    (area ? area->viewport() : &box)->repaint();
    QCoreApplication::processEvents();
    return {clock.elapsed(), qint64(processorMs() - processor)};
}

QString contents(QWidget& box) {
    if (auto* answer = dynamic_cast<tolvex::TextBox*>(&box)) return answer->text();
    return static_cast<QPlainTextEdit&>(box).toPlainText();
}

qint64 median(std::vector<qint64>& values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: paste_bench box|plain|line spaces|nospaces CHARACTERS KEYS\n");
        return 2;
    }
    const QString text = sample(std::atoi(argv[3]), QLatin1String(argv[2]) == QLatin1String("spaces"));
    const int keys = std::max(1, std::atoi(argv[4]));
    QWidget window;
    window.setFixedSize(436, 113);
    const QString kind = QString::fromLatin1(argv[1]);
    QWidget* box = makeBox(kind, &window);
    box->setFont(tolvex::units::font("Courier New", 9, false));
    box->setGeometry(0, 0, 436, kind == QLatin1String("line") ? 20 : 113);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    box->setFocus();
    QGuiApplication::clipboard()->setText(text);

    const auto [pasteClock, pasteProcessor] =
        timed(*box, [box] { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); });
    std::vector<qint64> clock, processor;
    for (int i = 0; i < keys; ++i) {
        const auto [keyClock, keyProcessor] = timed(*box, [box] { QTest::keyClick(box, Qt::Key_X); });
        clock.push_back(keyClock);
        processor.push_back(keyProcessor);
    }
    const bool exact = contents(*box) == text + QString(keys, QLatin1Char('x'));
    const qint64 clockMedian = median(clock), processorMedian = median(processor);
    std::printf("%lld %lld %lld %s %lld %lld %lld\n", static_cast<long long>(pasteClock),
                static_cast<long long>(clockMedian), static_cast<long long>(clock.back()),
                exact ? "exact" : "changed", static_cast<long long>(pasteProcessor),
                static_cast<long long>(processorMedian), static_cast<long long>(processor.back()));
    return 0;
}
