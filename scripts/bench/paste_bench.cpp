// The paste benchmark's helper: one answer box of the Other page's size and font, either the
// program's own (MultiLineBox), a plain QPlainTextEdit set up as that box was before it chose
// its wrapping and shaping, a single-line box (SingleLineBox), or a plain QLineEdit set up as
// that box was before it chose its shaping (plainline). Pastes a text through the clipboard, then types keys,
// and prints in milliseconds
//   <paste> <shown: median worst> <whole key: median worst> <processor: median worst> <exact>
// the paste until painted; each key until its change is painted, and until the box has also
// painted after its release; the whole key's processor time, which other work on a busy
// machine does not inflate. <exact> says whether the box holds exactly what was pasted and typed.
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
    if (kind.endsWith(QLatin1String("line"))) {
        QLineEdit* line =
            kind == QLatin1String("line") ? new tolvex::SingleLineBox(window) : new QLineEdit(window);
        line->setFrame(false);
        // As the window makes every single-line box without a designed limit.
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

struct KeyTimes {
    double shown;      // from the press until the box has laid out and painted the change
    double whole;      // until it has also painted again after the release
    double processor;  // the thread's processor time for the whole key
};

// A key as the window system delivers it: pressed, the box laid out and painted, released, and
// painted again (a line box repaints its cursor on the release).
KeyTimes timedKey(QWidget& box, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    const double processor = processorMs();
    QElapsedTimer clock;
    clock.start();
    QTest::keyPress(&box, key, modifiers);
    QCoreApplication::processEvents();
    const double shown = double(clock.nsecsElapsed()) / 1e6;
    QTest::keyRelease(&box, key, modifiers);
    QCoreApplication::processEvents();
    return {shown, double(clock.nsecsElapsed()) / 1e6, processorMs() - processor};
}

QString contents(QWidget& box) {
    if (auto* answer = dynamic_cast<tolvex::TextBox*>(&box)) return answer->text();
    if (auto* line = qobject_cast<QLineEdit*>(&box)) return line->text();
    return static_cast<QPlainTextEdit&>(box).toPlainText();
}

// The median and the worst.
std::pair<double, double> spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: paste_bench box|plain|line|plainline spaces|nospaces CHARACTERS KEYS\n");
        return 2;
    }
    const QString text = sample(std::atoi(argv[3]), QLatin1String(argv[2]) == QLatin1String("spaces"));
    const int keys = std::max(1, std::atoi(argv[4]));
    QWidget window;
    window.setFixedSize(436, 113);
    const QString kind = QString::fromLatin1(argv[1]);
    QWidget* box = makeBox(kind, &window);
    box->setFont(tolvex::units::font("Courier New", 9, false));
    box->setGeometry(0, 0, 436, kind.endsWith(QLatin1String("line")) ? 20 : 113);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    box->setFocus();
    QGuiApplication::clipboard()->setText(text);

    const KeyTimes paste = timedKey(*box, Qt::Key_V, Qt::ControlModifier);
    std::vector<double> shown, whole, processor;
    for (int i = 0; i < keys; ++i) {
        const KeyTimes key = timedKey(*box, Qt::Key_X);
        shown.push_back(key.shown);
        whole.push_back(key.whole);
        processor.push_back(key.processor);
    }
    const bool exact = contents(*box) == text + QString(keys, QLatin1Char('x'));
    std::printf("%.0f", paste.whole);
    for (const auto& times : {shown, whole, processor}) {
        const auto [middle, worst] = spread(times);
        std::printf(" %.1f %.1f", middle, worst);
    }
    std::printf(" %s\n", exact ? "exact" : "changed");
    return 0;
}
