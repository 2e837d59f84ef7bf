#include <QClipboard>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QUrl>

#include <functional>
#include <stdexcept>
#include <vector>

#include "LayoutBuilder.h"
#include "MediaError.h"
#include "Navigation.h"
#include "TestWindow.h"
#include "TuneLoop.h"

using namespace tolvex;
using namespace tolvex::wizard;
using testing::BoxCatcher;
using testing::TestWindow;

namespace {

const QPoint kGeneralTabAt = TestWindow::at(135 + 1815 + 900, 1215 + 135);
const QPoint kCourierTabAt = TestWindow::at(135 + 3630 + 900, 1215 + 135);
const QPoint kCoderTabAt = TestWindow::at(135 + 1815 + 900, 930 + 135);
const QPoint kWindowBackground = TestWindow::at(3000, 700);
const QColor kPageViolet(84, 44, 169), kLightViolet(192, 192, 255), kHoverOrange(255, 128, 0);

bool pageShown(TestWindow& w, std::int16_t tab) {
    return w.form.fTab(std::int16_t(pageOfTab(tab)))->isVisible();
}

QColor textColour(TestWindow& w, std::int16_t button) {
    return w.form.lblBtn(button)->palette().color(QPalette::WindowText);
}

// The timer's ticks until the tune is played again, and what the window then sent.
int ticksUntilRestart(TestWindow& w) {
    w.media.sent.clear();
    int ticks = 0;
    while (!w.media.sent.contains("play midi") && ticks < 100) {
        w.form.TimerMusic_Timer();
        ++ticks;
    }
    return ticks;
}

int rowTopOf(const PageFrame* row) { return row->y() * 15; }

// Stands in for the desktop's handler of web addresses while it lives.
class Browser : public QObject {
    Q_OBJECT
public:
    Browser() { QDesktopServices::setUrlHandler("http", this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler("http"); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

// The window as a person meets it, under Qt's offscreen platform: pointer events go through the
// window to the control under the pointer, as the window system delivers them.
class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void aTabOfTheBackRowComesForwardAndTheOtherRowGoesBack() {
        TestWindow w;
        QTest::mouseClick(&w.form, Qt::LeftButton, {}, kCoderTabAt);
        QCOMPARE(rowTopOf(w.form.fTabHolder(1)), 1215);
        QCOMPARE(rowTopOf(w.form.fTabHolder(0)), 930);
        QVERIFY(pageShown(w, kCoderTab) && !pageShown(w, kWelcomeTab));
        QCOMPARE(w.form.lblBtn(kCoderTab)->palette().color(QPalette::Window), kPageViolet);
        QCOMPARE(w.form.lblBtn(kWelcomeTab)->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(QApplication::focusWidget(), w.form.txtField(17)->widget());

        w.form.lblBtn_Click(kSiteOpTab);
        QCOMPARE(rowTopOf(w.form.fTabHolder(0)), 1215);
        QCOMPARE(rowTopOf(w.form.fTabHolder(1)), 930);
        QVERIFY(pageShown(w, kSiteOpTab) && !pageShown(w, kCoderTab));
    }
    // The fonts that only hidden pages use are loaded when such a page first shows: each page
    // then shows its answers in the answer font and each one-line question as wide as its text.
    void eachPageHasItsDesignedFontsOnceShown() {
        TestWindow w;
        const QFont answerFont = units::font("Courier New", 9, false);
        for (const Tab& tab : kTabs) {
            w.form.lblBtn_Click(tab.button);
            for (std::int16_t i = 0; i < kQuestionCount; ++i) {
                if (kQuestions[std::size_t(i)].page != pageOfTab(tab.button)) continue;
                QCOMPARE(w.form.txtField(i)->widget()->font(), answerFont);
                const QLabel& question = *w.form.lblCaption(i);
                if (!question.wordWrap())
                    QCOMPARE(question.width(),
                             QFontMetrics(question.font()).horizontalAdvance(question.text()));
            }
        }
    }
    void aClickIsALeftPressAndReleaseOnTheSameLabel() {
        TestWindow w;
        QTest::mousePress(&w.form, Qt::LeftButton, {}, kGeneralTabAt);
        QTest::mouseMove(&w.form, kCourierTabAt);
        QTest::mouseRelease(&w.form, Qt::LeftButton, {}, kCourierTabAt);
        QTest::mouseClick(&w.form, Qt::RightButton, {}, kGeneralTabAt);
        QVERIFY(pageShown(w, kWelcomeTab));
        QTest::mouseClick(&w.form, Qt::LeftButton, {}, kGeneralTabAt);
        QVERIFY(pageShown(w, kGeneralTab) && !pageShown(w, kWelcomeTab));
    }
    void aLitLabelStaysLitOverBoxesAndQuestionsAndGoesOutOverThePage() {
        TestWindow w;
        w.form.lblBtn_Click(kSiteOpTab);  // single- and multi-line boxes
        QTest::mouseMove(&w.form, kCourierTabAt);
        QCOMPARE(textColour(w, kCourierTab), kHoverOrange);
        for (const QPoint at :
             {TestWindow::at(480 + 60, 1485 + 285 + 120), TestWindow::at(480 + 60, 1485 + 585 + 140),
              TestWindow::at(480 + 600, 1485 + 2490 + 400), TestWindow::at(6405 - 60, 1485 + 2900)}) {
            QTest::mouseMove(&w.form, at);
            QCOMPARE(textColour(w, kCourierTab), kHoverOrange);
        }
        QTest::mouseMove(&w.form, TestWindow::at(135 + 6600, 1485 + 200));
        QCOMPARE(textColour(w, kCourierTab), kLightViolet);
        QTest::mouseMove(&w.form, TestWindow::at(300, 300));
        QVERIFY(w.form.lblEyeLights->isVisible());
        QTest::mouseMove(&w.form, kWindowBackground);
        QVERIFY(!w.form.lblEyeLights->isVisible());
    }
    void bothHomePageLabelsOpenTheAddressAndNothingElseChanges() {
        TestWindow w;
        Browser browser;
        QTest::mouseClick(&w.form, Qt::LeftButton, {}, TestWindow::at(135 + 150, 5025 + 165));
        QTest::mouseClick(&w.form, Qt::LeftButton, {}, TestWindow::at(4605 + 2000, 5070 + 120));
        QCOMPARE(browser.opened, QList<QUrl>(2, QUrl("http://www.tolvex.example")));
        QVERIFY(pageShown(w, kWelcomeTab));
        QVERIFY(w.form.isVisible() && w.form.TimerMusic.isActive());
    }
    void onlyTheAgeBoxLimitsTheAnswersLength() {
        TestWindow w;
        w.form.txtField(2)->setText(QString(40000, 'a'));
        QCOMPARE(w.form.txtField(2)->text().size(), 40000);
        w.form.txtField(1)->setText("123");
        QCOMPARE(w.form.txtField(1)->text(), QString("12"));
    }
    // Typing stays quick after a long paste because the box then lays out differently; once
    // the pasted text is gone it must look as before: words whole at the line ends, same font.
    void aLongPasteIsKeptWholeAndTheBoxLaysOutAsBeforeOnceItIsGone() {
        TestWindow w;
        w.form.lblBtn_Click(kOtherTab);
        const QString pasted(200000, 'q');
        for (const int question : {2, 21}) {
            QWidget* box = w.form.txtField(question)->widget();
            const QFont font = box->font();
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_X);
            QCOMPARE(w.form.txtField(question)->text(), pasted + "x");

            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, QString("answer ").repeated(30));
            QCOMPARE(box->font(), font);
        }
        const QTextLayout& lines =
            *static_cast<QPlainTextEdit*>(w.form.txtField(21)->widget())->document()->firstBlock().layout();
        QVERIFY(lines.lineCount() > 1);
        QCOMPARE(w.form.txtField(21)->text().at(lines.lineAt(0).textLength() - 1), QChar(' '));
    }
    void closingStopsTheTimerAndTheMusic() {
        TestWindow w;
        w.log.calls.clear();
        w.form.close();
        QCOMPARE(w.log.calls, QStringList({"stop", "close"}));
        QVERIFY(!w.form.TimerMusic.isActive());
    }
    void theTuneRestartsWhenItsPlayingTimeIsOverCountedFromWhenItSounds() {
        TestWindow w;
        const int loopMs = resources::kTuneLoopTicks * resources::kTuneTickMs;
        QCOMPARE(w.form.TimerMusic.timerType(), Qt::PreciseTimer);
        QCOMPARE(ticksUntilRestart(w) * w.form.TimerMusic.interval(), loopMs);
        QCOMPARE(w.media.sent,
                 QStringList({"stop midi", "close midi",
                              QString(R"(open sequencer!"%1/TXmidi.mid" alias midi)").arg(w.temp.path()),
                              "play midi"}));
        QCOMPARE(ticksUntilRestart(w) * w.form.TimerMusic.interval(), loopMs);

        w.form.TimerMusic.stop();
        emit w.output.tuneStarted();
        QVERIFY(!w.form.TimerMusic.isActive());
        w.form.TimerMusic.start();
        QTest::qWait(50);
        emit w.output.tuneStarted();
        QVERIFY(w.form.TimerMusic.remainingTime() > w.form.TimerMusic.interval() - 20);
    }
    void musicFailuresSayHiOnceAndATuneThatDidNotOpenIsNotPlayed() {
        TestWindow w;
        BoxCatcher boxes;
        w.log.openResult = music::code(music::MediaError::FileNotPlayable);
        w.media.sent.clear();
        QTest::keyClick(&w.form, Qt::Key_M, Qt::ControlModifier);
        QTest::keyClick(&w.form, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(boxes.texts, QStringList{"hi"});
        emit w.output.failed();
        QCOMPARE(boxes.texts, QStringList{"hi"});
        QVERIFY(w.media.sent.last().startsWith("open") && w.form.isVisible());
    }
    void ctrlMTurnsTheMusicOffAndBackOnFromItsStart() {
        TestWindow w;
        w.log.calls.clear();
        QTest::keyClick(&w.form, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(w.output.switched, QList<bool>{false});
        QCOMPARE(w.log.calls, QStringList({"stop", "close"}));
        QVERIFY(!w.form.TimerMusic.isActive());
        for (int tick = 0; tick < 7; ++tick)
            w.form.TimerMusic_Timer();
        QTest::keyClick(&w.form, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(w.output.switched, QList<bool>({false, true}));
        QVERIFY(w.media.sent.endsWith("play midi") && w.form.TimerMusic.isActive());
        QCOMPARE(ticksUntilRestart(w), resources::kTuneLoopTicks);
    }
    void returnOnTheFinishPageFinishesAndARefusedNickKeepsEverything() {
        TestWindow w;
        w.form.txtField(2)->setText("Norway");
        w.form.lblBtn_Click(kFinishTab);
        BoxCatcher boxes;
        QTest::keyClick(&w.form, Qt::Key_Return);
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts[0].startsWith("22  Please type your nick"));
        QVERIFY(w.form.isVisible());
        QCOMPARE(w.form.txtField(2)->text(), QString("Norway"));

        w.form.txtField(0)->setText("WindowTest");
        QTest::keyClick(&w.form, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(QFile::exists(w.temp.filePath("WindowTest.app")) && !w.form.isVisible());
    }
    void aWrongLayoutTableStopsBeforeAnyWidgetNamingTheRow() {
        std::vector<layout::ControlRow> rows;
        const auto row = [&](std::string_view name, std::int16_t index) {
            return std::ranges::find_if(rows, [&](auto& r) { return r.name == name && r.index == index; });
        };
        const std::vector<std::pair<std::function<void()>, QString>> spoilt{
            {[&] { rows.erase(row("txtField", 9)); }, "TextBox txtField(9): the table has no"},
            {[&] { rows.push_back(*row("lblBtn", kGeneralTab)); }, "Label lblBtn(3): the table holds"},
            {[&] { row("txtField", 9)->container.index = 3; }, "TextBox txtField(9): it is not on"},
            {[&] { row("lblCaption", 40)->container.index = 2; }, "Label lblCaption(40): it is not on"},
            {[&] { row("fTab", 0)->flags |= layout::AutoSize; }, "Frame fTab(0): a flag"},
            {[&] { row("fTab", 1)->container.name = "fTab"; }, "Frame fTab(1): a frame stands"},
            {[&] { row("lblBtn", kCourierTab)->name = "lblBnt"; }, "Label lblBnt(4): no control"},
            {[&] { row("txtField", 0)->index = 22; }, "TextBox txtField(22): the index"},
            {[&] { row("lblBtn", kCourierTab)->kind = layout::ControlKind::Image; },
             "Image lblBtn(4): the kind"},
            {[&] { row("lblBtn", kCourierTab)->container.index = 9; }, "Label lblBtn(4): its container"},
        };
        TestWindow w;
        const auto widgets = w.form.findChildren<QWidget*>().size();
        for (const auto& [spoil, expected] : spoilt) {
            rows.assign(layout::designedControls().begin(), layout::designedControls().end());
            spoil();
            try {
                buildDesignedLayout(w.form, rows);
                QFAIL(qPrintable("no error: " + expected));
            } catch (const std::logic_error& error) {
                QVERIFY2(QString(error.what()).contains(expected), error.what());
            }
            QCOMPARE(w.form.findChildren<QWidget*>().size(), widgets);
        }
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
