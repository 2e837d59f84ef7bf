#include <QTest>

#include <QRandomGenerator>

#include "UrlRecorder.h"
#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

const QColor kSelected(84, 44, 169);
const QColor kUnselected(128, 128, 128);

// What a person sees of the navigation: which page shows, which tab is marked, which row
// stands in front.
struct Seen {
    int page = -1;
    int markedTab = -1;
    int frontRow = -1;
};

Seen seen(const frmTolvex& form) {
    Seen s;
    int pagesShown = 0;
    for (std::int16_t p = 0; p < 8; ++p)
        if (form.fTab(p)->isVisible()) {
            s.page = p;
            ++pagesShown;
        }
    if (pagesShown != 1) s.page = -pagesShown;
    int marked = 0;
    for (std::int16_t k = 2; k <= 9; ++k) {
        const QColor colour = form.lblBtn(k)->palette().color(QPalette::Window);
        if (colour == kSelected) {
            s.markedTab = k;
            ++marked;
        } else if (colour != kUnselected) {
            return {};
        }
    }
    if (marked != 1) s.markedTab = -marked;
    const int row0 = form.fTabHolder(0)->y();
    const int row1 = form.fTabHolder(1)->y();
    if (row0 == 81 && row1 == 62) s.frontRow = 0;
    if (row0 == 62 && row1 == 81) s.frontRow = 1;
    return s;
}

}  // namespace

class NavigationTest : public QObject {
    Q_OBJECT
private slots:
    void rowsMoveOnlyWhenTheRowChanges();
    void theShownTabChangesNothing();
    void beginActsAsGeneral();
    void finishTabOnlyShowsTheClosingPage();
    void homePageLinkKeepsThePage();
    void otherIndicesDoNothing();
    void answersSurviveVisitsToOtherPages();
    void longRandomWalkKeepsOnePageAndOneMark();
};

void NavigationTest::rowsMoveOnlyWhenTheRowChanges() {
    WindowFixture f;
    f.form->lblBtn_Click(7);  // Coder, back row to the front
    QCOMPARE(seen(*f.form).frontRow, 1);
    QCOMPARE(seen(*f.form).page, 5);
    QCOMPARE(f.form->lblBtn(2)->palette().color(QPalette::Window), kUnselected);

    f.form->lblBtn_Click(8);  // Other, same row
    QCOMPARE(seen(*f.form).frontRow, 1);
    QCOMPARE(seen(*f.form).page, 6);
    QCOMPARE(seen(*f.form).markedTab, 8);

    f.form->lblBtn_Click(5);  // Site op, row 0 back in front
    QCOMPARE(seen(*f.form).frontRow, 0);
    QCOMPARE(seen(*f.form).page, 3);

    // Many swaps: the rows are set, never exchanged, so they cannot drift.
    for (int i = 0; i < 50; ++i)
        f.form->lblBtn_Click(std::int16_t(i % 2 ? 9 : 2));
    QCOMPARE(seen(*f.form).frontRow, 1);
    f.form->lblBtn_Click(2);
    QCOMPARE(seen(*f.form).frontRow, 0);
    QCOMPARE(f.form->fTabHolder(0)->x(), 9);
    QCOMPARE(f.form->fTabHolder(1)->x(), 9);
}

void NavigationTest::theShownTabChangesNothing() {
    WindowFixture f;
    f.form->lblBtn_Click(6);
    const QPoint row0 = f.form->fTabHolder(0)->pos();
    f.form->lblBtn_Click(6);
    QCOMPARE(f.form->fTabHolder(0)->pos(), row0);
    QCOMPARE(seen(*f.form).page, 4);
    QCOMPARE(seen(*f.form).markedTab, 6);
}

void NavigationTest::beginActsAsGeneral() {
    WindowFixture begin;
    WindowFixture general;
    begin.form->lblBtn_Click(10);
    general.form->lblBtn_Click(3);
    QCOMPARE(seen(*begin.form).page, seen(*general.form).page);
    QCOMPARE(seen(*begin.form).markedTab, 3);
    QCOMPARE(begin.form->CurrentTab, std::int16_t(3));
    QVERIFY(!begin.form->lblBtn(10)->isVisible());
}

void NavigationTest::finishTabOnlyShowsTheClosingPage() {
    WindowFixture f;
    f.form->lblBtn_Click(3);
    QTest::keyClicks(f.form->txtField(0)->widget(), "NotWritten");
    f.form->lblBtn_Click(9);
    QCOMPARE(seen(*f.form).page, 7);
    QVERIFY(f.form->isVisible());
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/NotWritten.app"));
    QVERIFY(f.form->lblBtn(11)->isVisible());
}

void NavigationTest::homePageLinkKeepsThePage() {
    WindowFixture f;
    testing::UrlRecorder browser;
    f.form->lblBtn_Click(4);
    f.form->lblBtn_Click(1);
    QCOMPARE(browser.opened.size(), 1);
    QCOMPARE(seen(*f.form).page, 2);
    QCOMPARE(f.form->CurrentTab, std::int16_t(4));
}

void NavigationTest::otherIndicesDoNothing() {
    WindowFixture f;
    f.form->lblBtn_Click(4);
    for (const std::int16_t index :
         {std::int16_t(-1), std::int16_t(12), std::int16_t(40), std::int16_t(-32768), std::int16_t(32767)}) {
        f.form->lblBtn_Click(index);
        QCOMPARE(seen(*f.form).page, 2);
        QCOMPARE(seen(*f.form).markedTab, 4);
        QVERIFY(f.form->isVisible());
    }
}

void NavigationTest::answersSurviveVisitsToOtherPages() {
    WindowFixture f;
    f.form->lblBtn_Click(3);
    f.form->txtField(0)->widget()->setFocus();
    QTest::keyClicks(f.form->txtField(0)->widget(), "Ziruzav");
    f.form->lblBtn_Click(8);
    QTest::keyClicks(f.form->txtField(21)->widget(), "why me");
    for (std::int16_t k = 2; k <= 9; ++k)
        f.form->lblBtn_Click(k);
    f.form->lblBtn_Click(3);
    QCOMPARE(f.form->txtField(0)->text(), QStringLiteral("Ziruzav"));
    QCOMPARE(f.form->txtField(21)->text(), QStringLiteral("why me"));
}

void NavigationTest::longRandomWalkKeepsOnePageAndOneMark() {
    WindowFixture f;
    QRandomGenerator random(20261206);
    for (int i = 0; i < 2000; ++i) {
        const auto tab = std::int16_t(random.bounded(2, 11));  // 2 to 10: tabs and "Begin"
        if (tab == 10 && f.form->CurrentTab != 2) continue;    // "Begin" is only on the Welcome page
        f.form->lblBtn_Click(tab);
        const int expected = tab == 10 ? 3 : tab;
        const Seen s = seen(*f.form);
        QCOMPARE(s.page, expected - 2);
        QCOMPARE(s.markedTab, expected);
        QCOMPARE(s.frontRow, expected <= 5 ? 0 : 1);
    }
}

QTEST_MAIN(NavigationTest)
#include "NavigationTest.moc"
