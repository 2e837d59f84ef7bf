#include <QScreen>
#include <QTest>

#include "UrlRecorder.h"
#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

const QString kHomePage = QStringLiteral("http://www.tolvex.example");

QPoint centreOf(const QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }

}  // namespace

class LifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void loadFinishesTheWindow();
    void loadCentresTheWindowOnTheScreen();
    void loadStartsTheMusicAndItsTimer();
    void everyWayOfClosingStopsTheMusicOnce_data();
    void everyWayOfClosingStopsTheMusicOnce();
    void bothHomePageLabelsOpenTheAddressOncePerClick();
};

void LifecycleTest::loadFinishesTheWindow() {
    WindowFixture f(false);
    QVERIFY(f.form->imgIcon->picture().isNull());
    QVERIFY(f.form->lblBtn(1)->text().isEmpty());
    const int emptyWidth = f.form->lblBtn(1)->width();

    f.form->Form_Load();
    QCOMPARE(f.form->HoverBtn, std::int16_t(-1));
    QVERIFY(f.form->EyeLightsOff);
    QCOMPARE(f.form->CurrentTab, std::int16_t(2));
    QCOMPARE(f.form->imgIcon->picture().size(), QSize(32, 32));
    QCOMPARE(f.form->lblBtn(1)->text(), kHomePage);
    // The link sizes itself to the address, every character shown.
    const QFontMetrics metrics(f.form->lblBtn(1)->font());
    QVERIFY(f.form->lblBtn(1)->width() > emptyWidth);
    QCOMPARE(f.form->lblBtn(1)->width(), metrics.horizontalAdvance(kHomePage));
    QVERIFY(f.form->lblBtn(1)->geometry().right() < f.form->Label1->geometry().left());
}

void LifecycleTest::loadCentresTheWindowOnTheScreen() {
    WindowFixture f;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(std::abs(f.form->x() - (screen.width() - 501) / 2) <= 1);
    QVERIFY(std::abs(f.form->y() - (screen.height() - 359) / 2) <= 1);
    QCOMPARE(f.form->size(), QSize(501, 359));
}

void LifecycleTest::loadStartsTheMusicAndItsTimer() {
    WindowFixture f;
    QCOMPARE(f.form->MidiPath, f.temp.path() + "/TXmidi.mid");
    QVERIFY(QFile::exists(f.form->MidiPath));
    QCOMPARE(f.log.calls, (QStringList{"open " + f.form->MidiPath, "play"}));
    QVERIFY(f.form->TimerMusic.isActive());
    QCOMPARE(f.form->MusicTicks, std::int16_t(0));
}

void LifecycleTest::everyWayOfClosingStopsTheMusicOnce_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("X label") << "X";
    QTest::newRow("window manager close") << "close";
}

void LifecycleTest::everyWayOfClosingStopsTheMusicOnce() {
    QFETCH(QString, way);
    WindowFixture f;
    if (way == "X")
        QTest::mouseClick(f.form.get(), Qt::LeftButton, {}, centreOf(f.form->lblBtn(0)));
    else
        QVERIFY(f.form->close());
    QVERIFY(!f.form->isVisible());
    QVERIFY(!f.form->TimerMusic.isActive());
    QCOMPARE(f.log.calls, (QStringList{"open " + f.form->MidiPath, "play", "stop", "close"}));
    // The music file stays for the next start.
    QVERIFY(QFile::exists(f.form->MidiPath));

    f.form->close();
    QCOMPARE(f.log.calls.size(), 4);
}

void LifecycleTest::bothHomePageLabelsOpenTheAddressOncePerClick() {
    WindowFixture f;
    testing::UrlRecorder browser;
    f.form->lblBtn_Click(3);
    f.form->txtField(0)->setText(QStringLiteral("Ziruzav"));

    QTest::mouseClick(f.form.get(), Qt::LeftButton, {}, centreOf(f.form->lblBtn(1)));
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(kHomePage)});
    QTest::mouseClick(f.form.get(), Qt::LeftButton, {}, centreOf(f.form->Label1));
    QTest::mouseClick(f.form.get(), Qt::LeftButton, {}, centreOf(f.form->Label1));
    QCOMPARE(browser.opened, (QList<QUrl>{QUrl(kHomePage), QUrl(kHomePage), QUrl(kHomePage)}));

    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->CurrentTab, std::int16_t(3));
    QVERIFY(f.form->fTab(1)->isVisible());
    QCOMPARE(f.form->txtField(0)->text(), QStringLiteral("Ziruzav"));
    QVERIFY(f.form->TimerMusic.isActive());
    QCOMPARE(f.log.calls.size(), 2);
}

QTEST_MAIN(LifecycleTest)
#include "LifecycleTest.moc"
