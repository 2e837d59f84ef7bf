#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

QColor background(const QWidget* w) { return w->palette().color(QPalette::Window); }
QColor textColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

}  // namespace

// The window as it first shows, before any handler has run.
class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void windowIsFramelessAndSized();
    void controlCounts();
    void welcomePageIsTheOnlyPageShown();
    void welcomeTabIsSelected();
    void everyQuestionHasItsLabelAndBox();
    void oneLineQuestionLabelsMeasureEightPixelsACharacter();
    void wrappedTextsTakeTheirLines();
    void ageBoxTakesTwoCharacters();
    void multiLineBoxesScrollAndTakeLineBreaks();
    void tabKeyFollowsTheBoxesInOrder();
    void closeLabelLiesOverTheTitle();
    void musicTimerWaitsDisabled();
};

void WindowLayoutTest::windowIsFramelessAndSized() {
    WindowFixture f(false);
    QCOMPARE(f.form->size(), QSize(501, 359));
    QVERIFY(f.form->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Tolvex App"));
    QCOMPARE(background(f.form.get()), QColor(0, 0, 0));
    QCOMPARE(f.form->lblTitleBar(0)->text(), QStringLiteral("Tolvex Devoz - App Generator"));
    QVERIFY(!f.form->windowIcon().isNull());
}

void WindowLayoutTest::controlCounts() {
    WindowFixture f(false);
    const auto children = f.form->findChildren<QWidget*>(QString(), Qt::FindChildrenRecursively);
    int labels = 0, boxes = 0, frames = 0, images = 0, shapes = 0;
    for (QWidget* w : children) {
        if (qobject_cast<ImageBox*>(w))
            ++images;
        else if (qobject_cast<ClickLabel*>(w))
            ++labels;
        else if (qobject_cast<PageFrame*>(w))
            ++frames;
        else if (qobject_cast<CircleShape*>(w))
            ++shapes;
        else if (dynamic_cast<TextBox*>(w))
            ++boxes;
    }
    QCOMPARE(labels, 42);
    QCOMPARE(boxes, 22);
    QCOMPARE(frames, 10);
    QCOMPARE(images, 2);
    QCOMPARE(shapes, 1);
    QCOMPARE(f.form->lblBtn.members().size(), std::size_t(12));
    QCOMPARE(f.form->lblCaption.members().size(), std::size_t(25));
    QVERIFY(f.form->lblCaption(23) == nullptr);
    QVERIFY(f.form->lblCaption(-1) == nullptr);
    QVERIFY(f.form->lblCaption(40) != nullptr);
}

void WindowLayoutTest::welcomePageIsTheOnlyPageShown() {
    WindowFixture f(false);
    for (std::int16_t p = 0; p < 8; ++p)
        QCOMPARE(f.form->fTab(p)->isVisible(), p == 0);
    QVERIFY(f.form->fTabHolder(0)->isVisible());
    QVERIFY(f.form->fTabHolder(1)->isVisible());
    QCOMPARE(f.form->fTabHolder(0)->y(), 81);  // the front row touches the pages
    QCOMPARE(f.form->fTabHolder(1)->y(), 62);
    QVERIFY(f.form->lblWelcome->isVisible());
    QCOMPARE(f.form->lblBtn(10)->text(), QStringLiteral("Begin"));
    QVERIFY(!f.form->lblEyeLights->isVisible());
    QVERIFY(f.form->imgTolvex->picture().size() == QSize(150, 131));
}

void WindowLayoutTest::welcomeTabIsSelected() {
    WindowFixture f(false);
    const QColor page = background(f.form->fTab(0));
    QCOMPARE(page, QColor(84, 44, 169));
    for (std::int16_t k = 2; k <= 9; ++k) {
        QCOMPARE(background(f.form->lblBtn(k)), k == 2 ? page : QColor(128, 128, 128));
        QCOMPARE(textColour(f.form->lblBtn(k)), QColor(192, 192, 255));
    }
    const QStringList captions{"Welcome",    "General", "Courier", "Site op",
                               "Bot Master", "Coder",   "Other",   "Finish"};
    for (std::int16_t k = 2; k <= 9; ++k)
        QCOMPARE(f.form->lblBtn(k)->text(), captions[k - 2]);
}

void WindowLayoutTest::everyQuestionHasItsLabelAndBox() {
    WindowFixture f(false);
    for (std::int16_t i = 0; i < 22; ++i) {
        ClickLabel* label = f.form->lblCaption(i);
        TextBox* box = f.form->txtField(i);
        QVERIFY(label && box);
        QVERIFY(!label->text().isEmpty());
        QVERIFY(box->text().isEmpty());
        // Question and box share their page.
        QCOMPARE(box->widget()->parentWidget(), label->parentWidget());
        QCOMPARE(textColour(label), QColor(255, 0, 0));
    }
    QCOMPARE(f.form->lblCaption(8)->parentWidget(), f.form->fTab(2));
    QCOMPARE(f.form->lblCaption(21)->parentWidget(), f.form->fTab(6));
    QCOMPARE(f.form->lblCaption(40)->text(),
             QStringLiteral("Click on the tabs that apply to the jobs you're applying to"));
}

void WindowLayoutTest::oneLineQuestionLabelsMeasureEightPixelsACharacter() {
    WindowFixture f(false);
    QCOMPARE(f.form->lblCaption(8)->text(), QStringLiteral("How many megs can you curry in a week?"));
    QCOMPARE(f.form->lblCaption(8)->width(), 304);
    for (const auto& [index, label] : f.form->lblCaption.members()) {
        if (index == 21 || index == 22 || index == 40) continue;
        QCOMPARE(label->width(), 8 * int(label->text().size()));
        QCOMPARE(label->height(), 16);
    }
}

void WindowLayoutTest::wrappedTextsTakeTheirLines() {
    WindowFixture f(false);
    const auto lines = [](const QLabel* label) {
        const QFontMetrics metrics(label->font());
        const QRect used = metrics.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
        return used.height() / metrics.lineSpacing();
    };
    QCOMPARE(lines(f.form->lblCaption(21)), 2);
    QCOMPARE(lines(f.form->lblCaption(22)), 5);
    QCOMPARE(lines(f.form->lblCaption(40)), 1);
}

void WindowLayoutTest::ageBoxTakesTwoCharacters() {
    WindowFixture f;
    f.form->lblBtn_Click(3);
    auto* age = static_cast<QLineEdit*>(f.form->txtField(1)->widget());
    age->setFocus();
    QTest::keyClicks(age, "193");
    QCOMPARE(age->text(), QStringLiteral("19"));
    age->clear();
    age->insert(QStringLiteral("12345"));
    QCOMPARE(age->text(), QStringLiteral("12"));
    auto* nick = static_cast<QLineEdit*>(f.form->txtField(0)->widget());
    nick->setFocus();
    QTest::keyClicks(nick, "a much longer nick than two");
    QCOMPARE(nick->text(), QStringLiteral("a much longer nick than two"));
}

void WindowLayoutTest::multiLineBoxesScrollAndTakeLineBreaks() {
    WindowFixture f;
    f.form->lblBtn_Click(8);
    for (const std::int16_t i : {13, 16, 20, 21}) {
        auto* box = qobject_cast<QPlainTextEdit*>(f.form->txtField(i)->widget());
        QVERIFY(box);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    auto* other = static_cast<QPlainTextEdit*>(f.form->txtField(21)->widget());
    other->setFocus();
    QTest::keyClicks(other, "one");
    QTest::keyClick(other, Qt::Key_Return);
    QTest::keyClicks(other, "two");
    QCOMPARE(f.form->txtField(21)->text(), QStringLiteral("one\ntwo"));

    f.form->lblBtn_Click(3);
    auto* country = static_cast<QLineEdit*>(f.form->txtField(2)->widget());
    country->setFocus();
    QTest::keyClicks(country, "Nor");
    QTest::keyClick(country, Qt::Key_Return);
    QTest::keyClicks(country, "way");
    QCOMPARE(country->text(), QStringLiteral("Norway"));
}

void WindowLayoutTest::tabKeyFollowsTheBoxesInOrder() {
    WindowFixture f;
    f.form->activateWindow();
    f.form->lblBtn_Click(3);
    f.form->txtField(0)->widget()->setFocus();
    QStringList visited;
    for (int step = 0; step < 8; ++step) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{"txtField(0)", "txtField(1)", "txtField(2)", "txtField(3)", "txtField(4)",
                                   "txtField(5)", "txtField(6)", "txtField(7)"}));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtField(0)"));

    // Tab leaves a multi-line box instead of typing into it.
    f.form->lblBtn_Click(7);
    f.form->txtField(19)->widget()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtField(20)"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(f.form->txtField(20)->text(), QString());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtField(17)"));
}

void WindowLayoutTest::closeLabelLiesOverTheTitle() {
    WindowFixture f(false);
    QCOMPARE(f.form->childAt(WindowFixture::at(7300, 150)), f.form->lblBtn(0));
    QCOMPARE(f.form->childAt(WindowFixture::at(3000, 150)), f.form->lblTitleBar(0));
    // The corner: the icon over the drag label; the circle takes no mouse input.
    QCOMPARE(f.form->childAt(WindowFixture::at(300, 300)), f.form->imgIcon);
    QCOMPARE(f.form->childAt(WindowFixture::at(600, 600)), f.form->lblTitleBar(1));
    QCOMPARE(f.form->childAt(WindowFixture::at(15, 15)), f.form->lblTitleBar(1));
}

void WindowLayoutTest::musicTimerWaitsDisabled() {
    WindowFixture f(false);
    QVERIFY(!f.form->TimerMusic.isActive());
    QCOMPARE(f.form->TimerMusic.interval(), 19359);
}

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
