#include <QSignalSpy>
#include <QTest>

#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

// A press, release or move goes to the topmost control under the pointer and never on to
// its container.
class MouseRoutingTest : public QObject {
    Q_OBJECT
private slots:
    void movesReachTheControlsWithHandlers();
    void movesOverControlsWithoutHandlersStayThere();
    void theCircleLetsTheDragLabelBeneathTakeThePointer();
    void aClickIsALeftPressAndReleaseOnTheSameLabel();
};

void MouseRoutingTest::movesReachTheControlsWithHandlers() {
    WindowFixture f;
    QSignalSpy tab(f.form->lblBtn(4), &ClickLabel::mouseMoved);
    QSignalSpy title(f.form->lblTitleBar(0), &ClickLabel::mouseMoved);
    QSignalSpy page(f.form->fTab(0), &PageFrame::mouseMoved);
    QSignalSpy icon(f.form->imgIcon, &ImageBox::mouseMoved);

    QTest::mouseMove(f.form.get(), WindowFixture::at(135 + 3630 + 900, 1215 + 135));
    QCOMPARE(tab.count(), 1);
    QTest::mouseMove(f.form.get(), WindowFixture::at(4000, 200));
    QCOMPARE(title.count(), 1);
    QTest::mouseMove(f.form.get(), WindowFixture::at(2000, 4700));
    QCOMPARE(page.count(), 1);
    QTest::mouseMove(f.form.get(), WindowFixture::at(300, 300));
    QCOMPARE(icon.count(), 1);
    QCOMPARE(tab.count() + title.count() + page.count(), 3);

    // The window's own background puts out a lit label: that is its handler.
    f.form->lblBtn_MouseMove(4);
    QTest::mouseMove(f.form.get(), WindowFixture::at(3000, 700));
    QCOMPARE(f.form->HoverBtn, std::int16_t(-1));
}

void MouseRoutingTest::movesOverControlsWithoutHandlersStayThere() {
    WindowFixture f;
    f.form->lblBtn_Click(5);  // Site op: single- and multi-line boxes, question labels
    QSignalSpy page(f.form->fTab(3), &PageFrame::mouseMoved);
    f.form->lblBtn_MouseMove(5);

    const QList<QPoint> withoutHandlers{
        WindowFixture::at(135 + 345 + 60, 1485 + 285 + 120),    // question label
        WindowFixture::at(135 + 345 + 60, 1485 + 585 + 140),    // single-line box
        WindowFixture::at(135 + 345 + 600, 1485 + 2490 + 400),  // multi-line box's text
        WindowFixture::at(135 + 6270 - 60, 1485 + 2490 + 400),  // its scroll bar
        WindowFixture::at(135 + 1807, 1215 + 135),              // a gap of the tab row
        WindowFixture::at(5000, 5150),                          // the credit label
    };
    for (const QPoint& point : withoutHandlers) {
        QTest::mouseMove(f.form.get(), point);
        QCOMPARE(page.count(), 0);
        QCOMPARE(f.form->HoverBtn, std::int16_t(5));
    }
    QTest::mouseMove(f.form.get(), WindowFixture::at(135 + 6600, 1485 + 200));
    QCOMPARE(page.count(), 1);
    QCOMPARE(f.form->HoverBtn, std::int16_t(-1));
}

void MouseRoutingTest::theCircleLetsTheDragLabelBeneathTakeThePointer() {
    WindowFixture f;
    QSignalSpy corner(f.form->lblTitleBar(1), &ClickLabel::mousePressed);
    QTest::mousePress(f.form.get(), Qt::RightButton, {}, WindowFixture::at(600, 450));
    QCOMPARE(corner.count(), 1);
    QTest::mouseRelease(f.form.get(), Qt::RightButton, {}, WindowFixture::at(600, 450));
    // On the icon the press stops at the icon.
    QTest::mousePress(f.form.get(), Qt::RightButton, {}, WindowFixture::at(300, 300));
    QCOMPARE(corner.count(), 1);
    QTest::mouseRelease(f.form.get(), Qt::RightButton, {}, WindowFixture::at(300, 300));
}

void MouseRoutingTest::aClickIsALeftPressAndReleaseOnTheSameLabel() {
    WindowFixture f;
    QSignalSpy general(f.form->lblBtn(3), &ClickLabel::clicked);
    QSignalSpy courier(f.form->lblBtn(4), &ClickLabel::clicked);
    const QPoint onGeneral = WindowFixture::at(135 + 1815 + 900, 1215 + 135);
    const QPoint onCourier = WindowFixture::at(135 + 3630 + 900, 1215 + 135);

    QTest::mousePress(f.form.get(), Qt::LeftButton, {}, onGeneral);
    QTest::mouseMove(f.form.get(), onCourier);
    QTest::mouseRelease(f.form.get(), Qt::LeftButton, {}, onCourier);
    QCOMPARE(general.count() + courier.count(), 0);
    QCOMPARE(f.form->CurrentTab, std::int16_t(2));

    QTest::mouseClick(f.form.get(), Qt::RightButton, {}, onGeneral);
    QCOMPARE(general.count(), 0);

    QTest::mouseClick(f.form.get(), Qt::LeftButton, {}, onGeneral);
    QCOMPARE(general.count(), 1);
    QCOMPARE(f.form->CurrentTab, std::int16_t(3));

    // A double click is two clicks, as two separate clicks would be.
    QTest::mouseDClick(f.form.get(), Qt::LeftButton, {}, onCourier);
    QCOMPARE(courier.count(), 2);
    QCOMPARE(f.form->CurrentTab, std::int16_t(4));
}

QTEST_MAIN(MouseRoutingTest)
#include "MouseRoutingTest.moc"
