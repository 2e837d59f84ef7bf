#include <QTest>
#include <QWindow>

#include <memory>

#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

// Points of the window, in twips as the design measures them.
const QPoint kTitleStrip = WindowFixture::at(3000, 150);
const QPoint kGreyCircle = WindowFixture::at(600, 450);  // outside the icon, inside the circle
const QPoint kTabRowGap = WindowFixture::at(135 + 1807, 1215 + 135);

// The pointer as the window system reports it: each event at the pointer's place on the
// screen, mapped into the window wherever the window has moved to since.
class Pointer {
public:
    explicit Pointer(frmTolvex& form) : window_(form.windowHandle()) {}
    void press(QPoint at, Qt::MouseButton button) {
        screen_ = window_->mapToGlobal(at);
        pressHere(button);
    }
    void pressHere(Qt::MouseButton button) { QTest::mousePress(window_, button, {}, here()); }
    void moveBy(QPoint offset) {
        screen_ += offset;
        QTest::mouseMove(window_, here());
    }
    void release(Qt::MouseButton button) { QTest::mouseRelease(window_, button, {}, here()); }

private:
    QPoint here() const { return window_->mapFromGlobal(screen_); }
    QWindow* window_;
    QPoint screen_;
};

}  // namespace

// Offscreen there is no window manager to hand the move to, so the window follows the pointer
// itself: the path these tests drive.
class TitleBarTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> fixture_;
    frmTolvex& form() { return *fixture_->form; }

private slots:
    void init() {
        fixture_ = std::make_unique<WindowFixture>();
        QTest::mouseMove(form().windowHandle(), kTabRowGap);
        QVERIFY(!form().windowHandle()->startSystemMove());
    }
    void cleanup() { fixture_.reset(); }

    void drag_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<bool>("moves");
        QTest::newRow("title strip") << kTitleStrip << Qt::LeftButton << QPoint(37, 23) << true;
        QTest::newRow("right end") << WindowFixture::at(7100, 300) << Qt::LeftButton << QPoint(-60, 5)
                                   << true;
        QTest::newRow("grey circle") << kGreyCircle << Qt::LeftButton << QPoint(-25, 14) << true;
        QTest::newRow("right, title strip") << kTitleStrip << Qt::RightButton << QPoint(30, 20) << false;
        QTest::newRow("right, grey circle") << kGreyCircle << Qt::RightButton << QPoint(30, 20) << false;
        // Off the "X" before the release, so that it is no click that closes the window.
        QTest::newRow("X") << WindowFixture::at(7300, 150) << Qt::LeftButton << QPoint(-80, 40) << false;
        QTest::newRow("icon") << WindowFixture::at(90, 300) << Qt::LeftButton << QPoint(25, 25) << false;
    }

    void drag() {
        QFETCH(QPoint, at);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, offset);
        QFETCH(bool, moves);
        const QPoint end = form().pos() + (moves ? offset : QPoint());
        Pointer pointer(form());
        pointer.press(at, button);
        pointer.moveBy(offset / 2);
        pointer.moveBy(offset - offset / 2);
        QCOMPARE(form().pos(), end);
        pointer.release(button);
        QCOMPARE(form().windowHandle()->position(), end);
        QVERIFY(form().isVisible());
    }

    void otherButtonDuringTheDragDoesNotEndIt() {
        const QPoint start = form().pos();
        Pointer pointer(form());
        pointer.press(kTitleStrip, Qt::LeftButton);
        pointer.moveBy({10, 10});
        pointer.pressHere(Qt::RightButton);
        pointer.release(Qt::RightButton);
        pointer.moveBy({10, 10});
        QCOMPARE(form().pos(), start + QPoint(20, 20));
    }

    void releaseEndsTheFollow() {
        const QPoint start = form().pos();
        Pointer pointer(form());
        pointer.press(kTitleStrip, Qt::LeftButton);
        pointer.moveBy({20, 10});
        pointer.release(Qt::LeftButton);
        pointer.moveBy({15, 5});  // over the title strip without a button
        QCOMPARE(form().pos(), start + QPoint(20, 10));

        // The next drag takes its offset from where it starts: the window does not jump.
        pointer.press(kGreyCircle, Qt::LeftButton);
        pointer.moveBy({0, 40});
        QCOMPARE(form().pos(), start + QPoint(20, 50));
    }
};

QTEST_MAIN(TitleBarTest)
#include "TitleBarTest.moc"
