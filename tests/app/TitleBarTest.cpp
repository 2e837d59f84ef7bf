#include <QTest>
#include <QWindow>

#include <memory>

#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

// Points of the window, in twips as the design measures them.
const QPoint kTitleStrip = WindowFixture::at(3000, 150);
const QPoint kTitleStripRightEnd = WindowFixture::at(7100, 300);
const QPoint kGreyCircle = WindowFixture::at(600, 450);  // outside the icon, inside the circle
const QPoint kCornerArea = WindowFixture::at(600, 600);  // outside the circle
const QPoint kCloseLabel = WindowFixture::at(7300, 150);
const QPoint kIcon = WindowFixture::at(90, 300);
const QPoint kAboveIcon = WindowFixture::at(300, 30);  // the eye lights when shown, else the corner area
const QPoint kBackground = WindowFixture::at(3750, 700);
const QPoint kPage = WindowFixture::at(2000, 4700);
const QPoint kTabRowGap = WindowFixture::at(135 + 1807, 1215 + 135);
const QPoint kGeneralTab = WindowFixture::at(135 + 1815 + 900, 1215 + 135);

// Checks that a point of the window lies on the control a test means (null: the window's own
// background), so that a layout change cannot make a test pass over the wrong control.
[[nodiscard]] bool lies(const frmTolvex& form, QPoint at, const QWidget* control) {
    const QWidget* found = form.childAt(at);
    if (found == control) return true;
    qWarning() << at << "lies on" << (found ? found->objectName() : QStringLiteral("the window"));
    return false;
}

// The pointer, as the window system reports it: each event goes to the control under the
// pointer, or to the control that took the press, at the pointer's place on the screen.
class Pointer {
public:
    explicit Pointer(frmTolvex& form) : window_(form.windowHandle()) {}

    void press(QPoint at, Qt::MouseButton button) {
        screen_ = window_->mapToGlobal(at);
        pressHere(button);
    }
    void pressHere(Qt::MouseButton button) { QTest::mousePress(window_, button, {}, window_->mapFromGlobal(screen_)); }
    // Moves the pointer on the screen; the window may have moved since the last event.
    void moveBy(QPoint offset) {
        screen_ += offset;
        QTest::mouseMove(window_, window_->mapFromGlobal(screen_));
    }
    void release(Qt::MouseButton button) { QTest::mouseRelease(window_, button, {}, window_->mapFromGlobal(screen_)); }

private:
    QWindow* window_;
    QPoint screen_;
};

}  // namespace

// A left-button drag on the title bar moves the window with the pointer until the button is
// released. Here there is no window manager to hand the move to, so the window follows the
// pointer itself: that is the path these tests drive.
class TitleBarTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noWindowManagerTakesTheMove();
    void leftDragMovesTheWindowWithThePointer();
    void leftDragMovesTheWindowWithThePointer_data();
    void windowFollowsEveryStepOfTheDrag();
    void releaseEndsTheFollow();
    void otherButtonDuringTheDragDoesNotEndIt();
    void otherButtonsDoNotMove();
    void otherButtonsDoNotMove_data();
    void pressOutsideTheDragHandlesDoesNotMove();
    void pressOutsideTheDragHandlesDoesNotMove_data();
    void pressOnTheCloseLabelNeitherMovesNorCloses();
    void eyeLightsShownCoverTheDragArea();
    void secondDragStartsFromWhereTheFirstLeftTheWindow();

private:
    frmTolvex& form() { return *fixture_->form; }
    std::unique_ptr<WindowFixture> fixture_;
};

// A new window, with the pointer already in it over a place where a move changes nothing.
void TitleBarTest::init() {
    fixture_ = std::make_unique<WindowFixture>();
    QVERIFY(lies(form(), kTabRowGap, form().fTabHolder(0)));
    QTest::mouseMove(form().windowHandle(), kTabRowGap);
}

void TitleBarTest::cleanup() { fixture_.reset(); }

void TitleBarTest::noWindowManagerTakesTheMove() {
    QVERIFY(!form().windowHandle()->startSystemMove());
}

void TitleBarTest::leftDragMovesTheWindowWithThePointer_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("title strip") << kTitleStrip << QStringLiteral("lblTitleBar(0)") << QPoint(37, 23);
    QTest::newRow("title strip, right end") << kTitleStripRightEnd << QStringLiteral("lblTitleBar(0)") << QPoint(-60, 5);
    QTest::newRow("grey circle") << kGreyCircle << QStringLiteral("lblTitleBar(1)") << QPoint(-25, 14);
    QTest::newRow("corner area") << kCornerArea << QStringLiteral("lblTitleBar(1)") << QPoint(80, -40);
    QTest::newRow("above the hidden eye lights") << kAboveIcon << QStringLiteral("lblTitleBar(1)") << QPoint(3, 90);
}

void TitleBarTest::leftDragMovesTheWindowWithThePointer() {
    QFETCH(QPoint, at);
    QFETCH(QString, handle);
    QFETCH(QPoint, offset);
    QVERIFY(lies(form(), at, form().findChild<QWidget*>(handle)));
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(at, Qt::LeftButton);
    for (int step = 0; step < 4; ++step) pointer.moveBy(offset / 4);
    pointer.moveBy(offset - offset / 4 * 4);
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start + offset);
    QCOMPARE(form().windowHandle()->position(), start + offset);
    QVERIFY(form().isVisible());
}

void TitleBarTest::windowFollowsEveryStepOfTheDrag() {
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(kTitleStrip, Qt::LeftButton);
    QCOMPARE(form().pos(), start);
    QPoint moved;
    // Out of the strip and back: the window keeps to the pointer wherever it goes.
    for (const QPoint step : {QPoint(1, 0), QPoint(0, 1), QPoint(40, 60), QPoint(-120, 5), QPoint(0, -90)}) {
        pointer.moveBy(step);
        moved += step;
        QCOMPARE(form().pos(), start + moved);
    }
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start + moved);
}

void TitleBarTest::releaseEndsTheFollow() {
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(kTitleStrip, Qt::LeftButton);
    pointer.moveBy({20, 10});
    pointer.release(Qt::LeftButton);
    const QPoint dropped = start + QPoint(20, 10);
    QCOMPARE(form().pos(), dropped);

    // Without a button the pointer only passes over the title bar, and puts out the light.
    form().lblBtn_MouseMove(3);
    QVERIFY(lies(form(), kTitleStrip + QPoint(-25, 8), form().lblTitleBar(0)));
    for (const QPoint step : {QPoint(15, 0), QPoint(0, 5), QPoint(-40, 3)}) {
        pointer.moveBy(step);
        QCOMPARE(form().pos(), dropped);
    }
    QCOMPARE(form().HoverBtn, std::int16_t(-1));

    // The left button held down again elsewhere, and moved there: no follow left over.
    QTest::mousePress(form().windowHandle(), Qt::LeftButton, {}, kPage);
    QTest::mouseMove(form().windowHandle(), kPage + QPoint(30, 30));
    QTest::mouseRelease(form().windowHandle(), Qt::LeftButton, {}, kPage + QPoint(30, 30));
    QCOMPARE(form().pos(), dropped);
}

void TitleBarTest::otherButtonDuringTheDragDoesNotEndIt() {
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(kTitleStrip, Qt::LeftButton);
    pointer.moveBy({10, 10});
    pointer.pressHere(Qt::RightButton);
    pointer.release(Qt::RightButton);
    pointer.moveBy({10, 10});
    QCOMPARE(form().pos(), start + QPoint(20, 20));
    pointer.release(Qt::LeftButton);
    pointer.moveBy({10, 10});
    QCOMPARE(form().pos(), start + QPoint(20, 20));
}

void TitleBarTest::otherButtonsDoNotMove_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right, title strip") << kTitleStrip << Qt::RightButton;
    QTest::newRow("right, grey circle") << kGreyCircle << Qt::RightButton;
    QTest::newRow("right, corner area") << kCornerArea << Qt::RightButton;
    QTest::newRow("middle, title strip") << kTitleStrip << Qt::MiddleButton;
    QTest::newRow("middle, grey circle") << kGreyCircle << Qt::MiddleButton;
}

void TitleBarTest::otherButtonsDoNotMove() {
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButton, button);
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(at, button);
    pointer.moveBy({30, 20});
    pointer.moveBy({30, 20});
    QCOMPARE(form().pos(), start);
    pointer.release(button);
    QCOMPARE(form().pos(), start);
}

void TitleBarTest::pressOutsideTheDragHandlesDoesNotMove_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("control");
    QTest::newRow("icon") << kIcon << QStringLiteral("imgIcon");
    QTest::newRow("window background") << kBackground << QString();
    QTest::newRow("page") << kPage << QStringLiteral("fTab(0)");
    QTest::newRow("tab row") << kTabRowGap << QStringLiteral("fTabHolder(0)");
    QTest::newRow("tab") << kGeneralTab << QStringLiteral("lblBtn(3)");
}

void TitleBarTest::pressOutsideTheDragHandlesDoesNotMove() {
    QFETCH(QPoint, at);
    QFETCH(QString, control);
    QVERIFY(lies(form(), at, control.isEmpty() ? nullptr : form().findChild<QWidget*>(control)));
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(at, Qt::LeftButton);
    pointer.moveBy({25, 25});
    pointer.moveBy({25, 25});
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start);
}

void TitleBarTest::pressOnTheCloseLabelNeitherMovesNorCloses() {
    QVERIFY(lies(form(), kCloseLabel, form().lblBtn(0)));
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(kCloseLabel, Qt::LeftButton);
    // Off the label before the release, so that it is no click.
    pointer.moveBy({-40, 10});
    pointer.moveBy({-40, 30});
    QCOMPARE(form().pos(), start);
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start);
    QVERIFY(form().isVisible());
}

void TitleBarTest::eyeLightsShownCoverTheDragArea() {
    QTest::mouseMove(form().windowHandle(), kIcon);
    QVERIFY(form().lblEyeLights->isVisible());
    QVERIFY(lies(form(), kAboveIcon, form().lblEyeLights));
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(kAboveIcon, Qt::LeftButton);
    pointer.moveBy({30, 30});
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start);

    // Put out, they leave the drag area free again.
    QTest::mouseMove(form().windowHandle(), kTitleStrip);
    QVERIFY(!form().lblEyeLights->isVisible());
    pointer.press(kAboveIcon, Qt::LeftButton);
    pointer.moveBy({30, 30});
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start + QPoint(30, 30));
}

void TitleBarTest::secondDragStartsFromWhereTheFirstLeftTheWindow() {
    const QPoint start = form().pos();
    Pointer pointer(form());
    pointer.press(kTitleStrip, Qt::LeftButton);
    pointer.moveBy({50, 0});
    pointer.release(Qt::LeftButton);
    // Grabbed at another point of the title bar: the window does not jump to the pointer.
    pointer.press(kGreyCircle, Qt::LeftButton);
    QCOMPARE(form().pos(), start + QPoint(50, 0));
    pointer.moveBy({0, 40});
    pointer.release(Qt::LeftButton);
    QCOMPARE(form().pos(), start + QPoint(50, 40));
}

QTEST_MAIN(TitleBarTest)
#include "TitleBarTest.moc"
