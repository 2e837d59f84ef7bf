#include <QTest>

#include "Navigation.h"

using namespace tolvex::wizard;

// The rules of page navigation, highlighting and the page keys, without a window.
class NavigationTest : public QObject {
    Q_OBJECT
private slots:
    void aTabOfTheOtherRowBringsItsRowToTheFront() {
        const auto toCoder = pageSwitch(kWelcomeTab, 7);
        QVERIFY(toCoder);
        QCOMPARE(toCoder->frontRow, std::optional(1));
        QCOMPARE(pageSwitch(7, 5)->frontRow, std::optional(0));
    }
    void aTabOfTheSameRowMovesNoRow() {
        QCOMPARE(pageSwitch(7, 8)->frontRow, std::nullopt);
        QCOMPARE(pageSwitch(2, 5)->frontRow, std::nullopt);
    }
    void theShownTabOrNoTabChangesNothing() {
        QVERIFY(!pageSwitch(4, 4));
        QVERIFY(!pageSwitch(4, kBeginButton));
        QVERIFY(!pageSwitch(4, 12));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, tab(kBeginButton));
    }
    void theHoverLightMovesFromLabelToLabel() {
        const auto first = hoverChange(-1, 3);
        QCOMPARE(first->putOut, std::nullopt);
        QCOMPARE(first->light, std::int16_t(3));
        QCOMPARE(hoverChange(3, 4)->putOut, std::optional<std::int16_t>(3));
        QVERIFY(!hoverChange(4, 4));
    }
    void thePageKeysWalkTheTabsAndWrapAround() {
        QCOMPARE(tabAfter(kWelcomeTab, 1), kGeneralTab);
        QCOMPARE(tabAfter(kFinishTab, 1), kWelcomeTab);
        QCOMPARE(tabAfter(kWelcomeTab, -1), kFinishTab);
        QCOMPARE(tabAfter(6, -1), std::int16_t(5));
    }
};

QTEST_APPLESS_MAIN(NavigationTest)
#include "NavigationTest.moc"
