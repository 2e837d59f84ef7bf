#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDesktopServices>
#include <QTest>
#include <QUrl>

#include <stdexcept>

#include "LayoutBuilder.h"
#include "TestWindow.h"

Q_DECLARE_METATYPE(tolvex::layout::ControlRow)

using namespace tolvex;
using testing::BoxCatcher;
using testing::TestWindow;

namespace {

const QPoint kGeneralTab = TestWindow::at(135 + 1815 + 900, 1215 + 135);
const QPoint kCourierTab = TestWindow::at(135 + 3630 + 900, 1215 + 135);
const QPoint kCoderTab = TestWindow::at(135 + 1815 + 900, 930 + 135);
const QPoint kWindowBackground = TestWindow::at(3000, 700);

QColor pixel(QWidget& window, QPoint at) { return window.grab().toImage().pixelColor(at); }

int rowTopOf(const PageFrame* row) { return row->y() * 15; }

QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

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
    void theTitleStripIsLightGreyTextOnGrey() {
        TestWindow w;
        QCOMPARE(pixel(w.form, TestWindow::at(7000, 330)), QColor(128, 128, 128));
        const QImage strip = w.form.grab(QRect(TestWindow::at(720, 0), TestWindow::at(6500, 360))).toImage();
        int lightGrey = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x)
                lightGrey += strip.pixelColor(x, y) == QColor(224, 224, 224);
        QVERIFY2(lightGrey > 200, qPrintable(QString::number(lightGrey)));
    }
    void aTabOfTheBackRowComesForwardAndTheOtherRowGoesBack() {
        TestWindow w;
        QTest::mouseClick(&w.form, Qt::LeftButton, {}, kCoderTab);
        QCOMPARE(rowTopOf(w.form.fTabHolder(1)), 1215);
        QCOMPARE(rowTopOf(w.form.fTabHolder(0)), 930);
        QVERIFY(w.form.fTab(5)->isVisible() && !w.form.fTab(0)->isVisible());
        QCOMPARE(w.form.lblBtn(7)->palette().color(QPalette::Window), QColor(84, 44, 169));
        QCOMPARE(w.form.lblBtn(2)->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(QApplication::focusWidget(), w.form.txtField(17)->widget());

        w.form.lblBtn_Click(5);
        QCOMPARE(rowTopOf(w.form.fTabHolder(0)), 1215);
        QCOMPARE(rowTopOf(w.form.fTabHolder(1)), 930);
        QVERIFY(w.form.fTab(3)->isVisible() && !w.form.fTab(5)->isVisible());
    }
    void aClickIsALeftPressAndReleaseOnTheSameLabel() {
        TestWindow w;
        QTest::mousePress(&w.form, Qt::LeftButton, {}, kGeneralTab);
        QTest::mouseMove(&w.form, kCourierTab);
        QTest::mouseRelease(&w.form, Qt::LeftButton, {}, kCourierTab);
        QTest::mouseClick(&w.form, Qt::RightButton, {}, kGeneralTab);
        QCOMPARE(w.form.CurrentTab, std::int16_t(2));
        QTest::mouseClick(&w.form, Qt::LeftButton, {}, kGeneralTab);
        QCOMPARE(w.form.CurrentTab, std::int16_t(3));
    }
    void aLitLabelStaysLitOverBoxesAndQuestionsAndGoesOutOverThePage() {
        TestWindow w;
        w.form.lblBtn_Click(5);  // Site op: single- and multi-line boxes
        QTest::mouseMove(&w.form, kCourierTab);
        QCOMPARE(w.form.HoverBtn, std::int16_t(4));
        QCOMPARE(w.form.lblBtn(4)->palette().color(QPalette::WindowText), QColor(255, 128, 0));
        for (const QPoint at :
             {TestWindow::at(480 + 60, 1485 + 285 + 120), TestWindow::at(480 + 60, 1485 + 585 + 140),
              TestWindow::at(480 + 600, 1485 + 2490 + 400), TestWindow::at(6405 - 60, 1485 + 2900)}) {
            QTest::mouseMove(&w.form, at);
            QCOMPARE(w.form.HoverBtn, std::int16_t(4));
        }
        QTest::mouseMove(&w.form, TestWindow::at(135 + 6600, 1485 + 200));
        QCOMPARE(w.form.HoverBtn, std::int16_t(-1));
        QCOMPARE(w.form.lblBtn(4)->palette().color(QPalette::WindowText), QColor(192, 192, 255));
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
        QCOMPARE(w.form.CurrentTab, std::int16_t(2));
        QVERIFY(w.form.isVisible() && w.form.TimerMusic.isActive());
    }
    void onlyTheAgeBoxLimitsTheAnswersLength() {
        TestWindow w;
        w.form.txtField(2)->setText(QString(40000, 'a'));
        QCOMPARE(w.form.txtField(2)->text().size(), 40000);
        w.form.txtField(1)->setText("123");
        QCOMPARE(w.form.txtField(1)->text(), QString("12"));
    }
    void closingStopsTheTimerAndTheMusic() {
        TestWindow w;
        w.log.calls.clear();
        w.form.close();
        QCOMPARE(w.log.calls, QStringList({"stop", "close"}));
        QVERIFY(!w.form.TimerMusic.isActive());
    }
    void theTuneRestartsOnTheSixteenthTickAfterItSounds() {
        TestWindow w;
        QCOMPARE(w.form.TimerMusic.timerType(), Qt::PreciseTimer);
        w.form.TimerMusic.stop();
        emit w.output.tuneStarted();
        QVERIFY(!w.form.TimerMusic.isActive());
        w.form.TimerMusic.start();
        QTest::qWait(50);
        emit w.output.tuneStarted();
        QVERIFY(w.form.TimerMusic.remainingTime() > 19359 - 20);

        w.log.calls.clear();
        for (int tick = 1; tick < 16; ++tick)
            w.form.TimerMusic_Timer();
        QVERIFY(w.log.calls.isEmpty());
        w.form.TimerMusic_Timer();
        QCOMPARE(w.log.calls, QStringList({"stop", "close", "open " + w.form.MidiPath, "play"}));
        QCOMPARE(w.form.MusicTicks, std::int16_t(0));
    }
    void aLateMusicFailureSaysHiOnceAndTheWindowGoesOn() {
        TestWindow w;
        BoxCatcher boxes;
        emit w.output.failed();
        emit w.output.failed();
        QCOMPARE(boxes.texts, QStringList{"hi"});
        QVERIFY(w.form.isVisible());
    }
    void ctrlMTurnsTheMusicOffAndBackOnFromItsStart() {
        TestWindow w;
        w.log.calls.clear();
        QTest::keyClick(&w.form, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(w.output.switched, QList<bool>{false});
        QCOMPARE(w.log.calls, QStringList({"stop", "close"}));
        QVERIFY(!w.form.TimerMusic.isActive());
        w.form.MusicTicks = 7;
        QTest::keyClick(&w.form, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(w.output.switched, QList<bool>({false, true}));
        QVERIFY(w.log.calls.endsWith("play") && w.form.TimerMusic.isActive() && w.form.MusicTicks == 0);
    }
    void theKeysWalkThePagesAndTypingLandsInTheFirstBox() {
        TestWindow w;
        QTest::keyClick(&w.form, Qt::Key_PageDown, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "Zed");
        QCOMPARE(w.form.txtField(0)->text(), QString("Zed"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.form.CurrentTab, std::int16_t(4));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w.form.CurrentTab, std::int16_t(2));
        QTest::keyClick(&w.form, Qt::Key_Escape);
        QTest::keyClick(&w.form, Qt::Key_Return);
        QCOMPARE(w.form.CurrentTab, std::int16_t(3));
        QCOMPARE(w.form.lblBtn(3)->palette().color(QPalette::Window), QColor(84, 44, 169));
        QTest::keyClick(&w.form, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(&w.form, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(&w.form, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w.form.CurrentTab, std::int16_t(8));
        QTest::keyClicks(QApplication::focusWidget(), "one");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), "two");
        QCOMPARE(w.form.txtField(21)->text(), QString("one\ntwo"));
        QCOMPARE(w.form.CurrentTab, std::int16_t(8));
    }
    void returnOnTheFinishPageFinishesAndARefusedNickKeepsEverything() {
        TestWindow w;
        w.form.txtField(2)->setText("Norway");
        w.form.lblBtn_Click(9);
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
    void aScreenReaderSeesTabsButtonsAndNamedBoxes() {
        TestWindow w;
        QAccessibleInterface* window = accessible(&w.form);
        QCOMPARE(window->text(QAccessible::Name), QString("Tolvex Devoz - App Generator"));
        for (int i = 0; i < window->childCount(); ++i) {
            QObject* child = window->child(i)->object();
            QVERIFY(child != w.form.lblEyeLights && child != w.form.shapeTitle &&
                    child != w.form.lblTitleBar(1));
        }
        QAccessibleInterface* coder = accessible(w.form.lblBtn(7));
        QCOMPARE(coder->role(), QAccessible::PageTab);
        QVERIFY(accessible(w.form.lblBtn(2))->state().selected && !coder->state().selected);
        QCOMPARE(accessible(w.form.fTabHolder(1))->role(), QAccessible::PageTabList);
        coder->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(coder->state().selected && !accessible(w.form.lblBtn(2))->state().selected);
        QCOMPARE(accessible(w.form.lblBtn(11))->role(), QAccessible::PushButton);
        QCOMPARE(accessible(w.form.Label1)->role(), QAccessible::Link);
        QCOMPARE(accessible(w.form.txtField(18)->widget())->text(QAccessible::Name),
                 QString("What language(s) do you program in?"));
    }
    void aWrongRowOfTheLayoutTableIsAnError_data() {
        QTest::addColumn<layout::ControlRow>("row");
        using enum layout::ControlKind;
        const layout::Container window{"", -1};
        QTest::newRow("unknown name")
            << layout::ControlRow{Label, "lblBnt", 3, window, {}, "", {}, {}, {}, 0, -1};
        QTest::newRow("index out of range")
            << layout::ControlRow{TextBox, "txtField", 22, window, {}, "", {}, {}, {}, 0, -1};
        QTest::newRow("no such frame")
            << layout::ControlRow{Label, "lblCaption", 0, {"fTab", 9}, {}, "", {}, {}, {}, 0, -1};
    }
    void aWrongRowOfTheLayoutTableIsAnError() {
        QFETCH(layout::ControlRow, row);
        TestWindow w;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, buildDesignedLayout(w.form, std::span(&row, 1)));
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
