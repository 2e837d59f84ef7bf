#include <QImage>
#include <QRandomGenerator>
#include <QTest>

#include <memory>
#include <vector>

#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

const QColor kLit(255, 128, 0);
const QColor kNormal(192, 192, 255);
const QColor kSelectedTab(84, 44, 169);
const QColor kUnselectedTab(128, 128, 128);

QColor textColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }
QColor background(const QWidget* w) { return w->palette().color(QPalette::Window); }

// Points of the window, in twips as the design measures them.
QPoint tabCentre(int rowTop, int tabLeft) { return WindowFixture::at(135 + tabLeft + 900, rowTop + 135); }
const QPoint kWelcomeTab = tabCentre(1215, 0);
const QPoint kGeneralTab = tabCentre(1215, 1815);
const QPoint kCourierTab = tabCentre(1215, 3630);
const QPoint kBotMasterTab = tabCentre(930, 0);
const QPoint kFinishTab = tabCentre(930, 5445);
const QPoint kCloseLabel = WindowFixture::at(7300, 150);
const QPoint kHomePageLink = WindowFixture::at(135 + 60, 5025 + 165);
const QPoint kBeginLabel = WindowFixture::at(135 + 6225 + 440, 1485 + 3045 + 170);
const QPoint kFinishLabel = WindowFixture::at(135 + 5910 + 600, 1485 + 3045 + 170);
const QPoint kBackground = WindowFixture::at(3750, 700);
const QPoint kBackgroundLowerLeft = WindowFixture::at(60, 5300);
const QPoint kPage = WindowFixture::at(2000, 4700);
const QPoint kTitleStrip = WindowFixture::at(3000, 150);
const QPoint kGreyCircle = WindowFixture::at(600, 450);
const QPoint kCornerArea = WindowFixture::at(600, 600);
const QPoint kIconBesideEyes = WindowFixture::at(90, 300);  // on the icon, left of the eye lights
const QPoint kIconUnderEyes = WindowFixture::at(300, 300);  // the icon, or the eye lights when shown
const QPoint kTabRowGap = WindowFixture::at(135 + 1807, 1215 + 135);
const QPoint kCredit = WindowFixture::at(5000, 5150);
const QPoint kWelcomeText = WindowFixture::at(5000, 3000);
const QPoint kLogo = WindowFixture::at(1500, 3000);

// The pointer moves through the window system, so the move goes to whatever control lies
// under the point, as it does for the user.
void moveTo(frmTolvex& form, QPoint at) { QTest::mouseMove(form.windowHandle(), at); }

// The control a widget under the pointer belongs to: the inner parts of a text box (its
// viewport, its scroll bar) count as the box.
QWidget* controlAt(const frmTolvex& form, QPoint at) {
    QWidget* w = form.childAt(at);
    while (w && w->parentWidget() != &form && !qobject_cast<PageFrame*>(w->parentWidget()))
        w = w->parentWidget();
    return w;
}

// Checks that a point lies on the control a test means, so that a layout change cannot make
// a test pass over the wrong control.
[[nodiscard]] bool lies(const frmTolvex& form, QPoint at, const QWidget* control) {
    const QWidget* found = controlAt(form, at);
    if (found == control) return true;
    qWarning() << at << "lies on" << (found ? found->objectName() : QStringLiteral("the window"))
               << "not on" << (control ? control->objectName() : QStringLiteral("the window"));
    return false;
}

// Every lblBtn in its normal colour except `lit`, which is orange.
[[nodiscard]] bool onlyLit(const frmTolvex& form, std::int16_t lit) {
    for (const auto& [index, label] : form.lblBtn.members()) {
        const QColor expected = index == lit ? kLit : kNormal;
        if (textColour(label) != expected) {
            qWarning() << "lblBtn" << index << "has" << textColour(label) << "expected" << expected;
            return false;
        }
    }
    return form.HoverBtn == lit;
}

[[nodiscard]] bool eyesShown(const frmTolvex& form) {
    return form.lblEyeLights->isVisible() && !form.EyeLightsOff;
}

[[nodiscard]] bool eyesOut(const frmTolvex& form) {
    return !form.lblEyeLights->isVisible() && form.EyeLightsOff;
}

int pixelsOf(const QImage& drawn, const QColor& colour) {
    const QImage image = drawn.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour.rgb()) ++n;
    return n;
}

}  // namespace

// The labels of lblBtn light up under the pointer; the window background, the pages and the
// title bar put the light and the icon's eye lights out.
class HoverTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsWithNothingLit();
    void firstMoveLightsTheLabelAndResetsNothing();
    void firstMoveLightsTheLabelAndResetsNothing_data();
    void sameLabelAgainChangesNothing();
    void labelToLabelGivesTheFirstItsColourBack();
    void surfacesWithoutHandlersLeaveTheLabelLit();
    void answerBoxesAndQuestionsLeaveTheLabelLit();
    void clearingSurfacesPutTheLightOut();
    void clearingSurfacesPutTheLightOut_data();
    void clearingTwiceChangesNothing();
    void commandLabelsLightLikeTabs();
    void hoverLeavesTabBackgroundsAlone();
    void litTextIsDrawnOrange();
    void eyeLightsShowOnceOverTheIcon();
    void eyeLightsStayUntilAClearingSurface();
    void litLabelStaysLitWhileTheEyesShow();
    void randomWalkKeepsOneLabelLitAtMost();

private:
    std::unique_ptr<WindowFixture> fixture_;
};

// Each test has a new window with the pointer already in it, on the tab row's gap where a
// move changes nothing: a move to where the pointer already is never reaches the window, so
// the pointer must not be left over a test's first point by the test before.
void HoverTest::init() {
    fixture_ = std::make_unique<WindowFixture>();
    frmTolvex& form = *fixture_->form;
    QVERIFY(lies(form, kTabRowGap, form.fTabHolder(0)));
    moveTo(form, kTabRowGap);
}

void HoverTest::cleanup() { fixture_.reset(); }

void HoverTest::startsWithNothingLit() {
    frmTolvex& form = *fixture_->form;
    QVERIFY(onlyLit(form, -1));
    QVERIFY(eyesOut(form));
}

void HoverTest::firstMoveLightsTheLabelAndResetsNothing_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("index");
    QTest::newRow("X") << kCloseLabel << 0;
    QTest::newRow("home page") << kHomePageLink << 1;
    QTest::newRow("Welcome, selected") << kWelcomeTab << 2;
    QTest::newRow("General") << kGeneralTab << 3;
    QTest::newRow("Bot Master, back row") << kBotMasterTab << 6;
    QTest::newRow("Finish tab") << kFinishTab << 9;
    QTest::newRow("Begin") << kBeginLabel << 10;
}

void HoverTest::firstMoveLightsTheLabelAndResetsNothing() {
    QFETCH(QPoint, at);
    QFETCH(int, index);
    frmTolvex& form = *fixture_->form;
    QVERIFY(lies(form, at, form.lblBtn(std::int16_t(index))));
    moveTo(form, at);
    QVERIFY(onlyLit(form, std::int16_t(index)));
    QVERIFY(eyesOut(form));
}

void HoverTest::sameLabelAgainChangesNothing() {
    frmTolvex& form = *fixture_->form;
    moveTo(form, kGeneralTab);
    QVERIFY(onlyLit(form, 3));
    // Along the label, to both of its ends.
    for (const int dx : {-50, 0, 50, 55}) {
        const QPoint at = kGeneralTab + QPoint(dx, dx % 2 ? 7 : -7);
        QVERIFY(lies(form, at, form.lblBtn(3)));
        moveTo(form, at);
        QVERIFY(onlyLit(form, 3));
    }
}

void HoverTest::labelToLabelGivesTheFirstItsColourBack() {
    frmTolvex& form = *fixture_->form;
    const std::vector<std::pair<QPoint, std::int16_t>> path{
        {kWelcomeTab, 2}, {kGeneralTab, 3},   {kCourierTab, 4}, {kBotMasterTab, 6},
        {kCloseLabel, 0}, {kFinishTab, 9},    {kBeginLabel, 10}, {kHomePageLink, 1},
        {kWelcomeTab, 2}, {kBotMasterTab, 6}, {kWelcomeTab, 2},
    };
    for (const auto& [at, index] : path) {
        QVERIFY(lies(form, at, form.lblBtn(index)));
        moveTo(form, at);
        QVERIFY2(onlyLit(form, index), qPrintable(QString::number(index)));
    }
}

void HoverTest::surfacesWithoutHandlersLeaveTheLabelLit() {
    frmTolvex& form = *fixture_->form;
    moveTo(form, kCourierTab);
    const std::vector<std::pair<QPoint, const QWidget*>> quiet{
        {kTabRowGap, form.fTabHolder(0)},
        {WindowFixture::at(135 + 7270, 930 + 135), form.fTabHolder(1)},
        {kWelcomeText, form.lblWelcome},
        {kLogo, form.imgTolvex},
        {kCredit, form.Label1},
    };
    for (const auto& [at, control] : quiet) {
        QVERIFY(lies(form, at, control));
        moveTo(form, at);
        QVERIFY2(onlyLit(form, 4), qPrintable(control->objectName()));
        QVERIFY(eyesOut(form));
    }
}

void HoverTest::answerBoxesAndQuestionsLeaveTheLabelLit() {
    frmTolvex& form = *fixture_->form;
    form.lblBtn_Click(3);  // the General page
    moveTo(form, kGeneralTab);
    const QWidget* nick = form.txtField(0)->widget();
    const QWidget* nickQuestion = form.lblCaption(0);
    const QWidget* hint = form.lblCaption(40);
    for (const QWidget* control : {nick, nickQuestion, hint}) {
        const QPoint at = control->mapTo(&form, QPoint(4, 4));
        QVERIFY(lies(form, at, control));
        moveTo(form, at);
        QVERIFY2(onlyLit(form, 3), qPrintable(control->objectName()));
    }

    // A multi-line box: its text area and its scroll bar.
    form.lblBtn_Click(5);  // the Site op page
    moveTo(form, tabCentre(1215, 5445));
    const QWidget* about = form.txtField(13)->widget();
    for (const QPoint inside : {QPoint(20, 20), QPoint(about->width() - 4, about->height() / 2)}) {
        const QPoint at = about->mapTo(&form, inside);
        QVERIFY(lies(form, at, about));
        moveTo(form, at);
        QVERIFY(onlyLit(form, 5));
    }
}

void HoverTest::clearingSurfacesPutTheLightOut_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("surface");
    QTest::newRow("window background") << kBackground << QString();
    QTest::newRow("background, lower left") << kBackgroundLowerLeft << QString();
    QTest::newRow("page") << kPage << QStringLiteral("fTab(0)");
    QTest::newRow("title strip") << kTitleStrip << QStringLiteral("lblTitleBar(0)");
    QTest::newRow("grey circle") << kGreyCircle << QStringLiteral("lblTitleBar(1)");
    QTest::newRow("corner drag area") << kCornerArea << QStringLiteral("lblTitleBar(1)");
}

void HoverTest::clearingSurfacesPutTheLightOut() {
    QFETCH(QPoint, at);
    QFETCH(QString, surface);
    frmTolvex& form = *fixture_->form;
    const QWidget* expected = surface.isEmpty() ? nullptr : form.findChild<QWidget*>(surface);
    QVERIFY(surface.isEmpty() || expected);
    QVERIFY(lies(form, at, expected));

    moveTo(form, kIconBesideEyes);
    moveTo(form, kGeneralTab);
    QVERIFY(onlyLit(form, 3));
    QVERIFY(eyesShown(form));
    moveTo(form, at);
    QVERIFY(onlyLit(form, -1));
    QVERIFY(eyesOut(form));
}

void HoverTest::clearingTwiceChangesNothing() {
    frmTolvex& form = *fixture_->form;
    moveTo(form, kBackground);
    moveTo(form, kPage);
    QVERIFY(onlyLit(form, -1));
    QVERIFY(eyesOut(form));
    // After clearing, the next label is lit without anything else being touched.
    moveTo(form, kFinishTab);
    QVERIFY(onlyLit(form, 9));
    // The page of another tab puts the light out as well.
    form.lblBtn_Click(9);
    moveTo(form, WindowFixture::at(2000, 4700));
    QVERIFY(lies(form, WindowFixture::at(2000, 4700), form.fTab(7)));
    QVERIFY(onlyLit(form, -1));
}

void HoverTest::commandLabelsLightLikeTabs() {
    frmTolvex& form = *fixture_->form;
    const std::vector<std::pair<QPoint, std::int16_t>> commands{
        {kCloseLabel, 0}, {kHomePageLink, 1}, {kBeginLabel, 10}};
    for (const auto& [at, index] : commands) {
        moveTo(form, kGeneralTab);
        QVERIFY(lies(form, at, form.lblBtn(index)));
        moveTo(form, at);
        QVERIFY(onlyLit(form, index));
        moveTo(form, kPage);
        QVERIFY(onlyLit(form, -1));
    }
    // "Finish" is on the last page; its tab row has come to the front.
    form.lblBtn_Click(9);
    moveTo(form, tabCentre(1215, 5445));
    QVERIFY(onlyLit(form, 9));
    QVERIFY(lies(form, kFinishLabel, form.lblBtn(11)));
    moveTo(form, kFinishLabel);
    QVERIFY(onlyLit(form, 11));
    moveTo(form, kTitleStrip);
    QVERIFY(onlyLit(form, -1));
}

void HoverTest::hoverLeavesTabBackgroundsAlone() {
    frmTolvex& form = *fixture_->form;
    const auto backgroundsAsDesigned = [&form](std::int16_t selected) {
        for (std::int16_t k = 2; k <= 9; ++k)
            if (background(form.lblBtn(k)) != (k == selected ? kSelectedTab : kUnselectedTab)) return false;
        return true;
    };
    moveTo(form, kWelcomeTab);
    QVERIFY(onlyLit(form, 2));
    QVERIFY(backgroundsAsDesigned(2));
    moveTo(form, kGeneralTab);
    QVERIFY(backgroundsAsDesigned(2));
    moveTo(form, kBackground);
    QVERIFY(backgroundsAsDesigned(2));

    // The selected tab under the pointer: orange text on the page's colour.
    form.lblBtn_Click(3);
    moveTo(form, kGeneralTab);
    QVERIFY(onlyLit(form, 3));
    QVERIFY(backgroundsAsDesigned(3));
    QCOMPARE(background(form.lblBtn(3)), kSelectedTab);
}

void HoverTest::litTextIsDrawnOrange() {
    frmTolvex& form = *fixture_->form;
    QWidget* general = form.lblBtn(3);
    QCOMPARE(pixelsOf(general->grab().toImage(), kLit), 0);
    moveTo(form, kGeneralTab);
    const QImage lit = general->grab().toImage();
    QVERIFY2(pixelsOf(lit, kLit) > 20, qPrintable(QString::number(pixelsOf(lit, kLit))));
    QCOMPARE(pixelsOf(lit, kNormal), 0);
    moveTo(form, kPage);
    QCOMPARE(pixelsOf(general->grab().toImage(), kLit), 0);
}

void HoverTest::eyeLightsShowOnceOverTheIcon() {
    frmTolvex& form = *fixture_->form;
    QVERIFY(lies(form, kIconUnderEyes, form.imgIcon));
    moveTo(form, kIconUnderEyes);
    QVERIFY(eyesShown(form));
    QVERIFY(onlyLit(form, -1));
    // Shown, the eye lights lie over the middle of the icon and take the pointer there.
    QVERIFY(lies(form, kIconUnderEyes, form.lblEyeLights));
    QVERIFY(lies(form, kIconBesideEyes, form.imgIcon));
    moveTo(form, kIconBesideEyes);
    QVERIFY(eyesShown(form));
    const QImage drawn = form.grab(form.lblEyeLights->geometry() & form.rect()).toImage();
    QVERIFY(pixelsOf(drawn, QColor(255, 0, 0)) > 10);
}

void HoverTest::eyeLightsStayUntilAClearingSurface() {
    frmTolvex& form = *fixture_->form;
    moveTo(form, kIconBesideEyes);
    QVERIFY(eyesShown(form));
    // The eye lights reach above the icon, over the corner drag area: shown, they take the
    // pointer there and nothing is put out.
    const QPoint aboveIcon = WindowFixture::at(300, 30);
    const std::vector<std::pair<QPoint, const QWidget*>> keeping{
        {kIconUnderEyes, form.lblEyeLights}, {aboveIcon, form.lblEyeLights},
        {kIconBesideEyes, form.imgIcon},     {kTabRowGap, form.fTabHolder(0)},
        {kWelcomeText, form.lblWelcome},     {kLogo, form.imgTolvex},
        {kCredit, form.Label1},              {kGeneralTab, form.lblBtn(3)},
    };
    for (const auto& [at, control] : keeping) {
        QVERIFY(lies(form, at, control));
        moveTo(form, at);
        QVERIFY2(eyesShown(form), qPrintable(control->objectName()));
    }
    moveTo(form, kPage);
    QVERIFY(eyesOut(form));

    // Hidden, they no longer cover the drag area above the icon, and the icon lights them again.
    QVERIFY(lies(form, aboveIcon, form.lblTitleBar(1)));
    moveTo(form, aboveIcon);
    QVERIFY(eyesOut(form));
    moveTo(form, kIconUnderEyes);
    QVERIFY(eyesShown(form));
    moveTo(form, kGreyCircle);
    QVERIFY(eyesOut(form));
    moveTo(form, kIconBesideEyes);
    QVERIFY(eyesShown(form));
}

void HoverTest::litLabelStaysLitWhileTheEyesShow() {
    frmTolvex& form = *fixture_->form;
    moveTo(form, kCloseLabel);
    moveTo(form, kIconBesideEyes);
    QVERIFY(eyesShown(form));
    QVERIFY(onlyLit(form, 0));
    moveTo(form, kIconUnderEyes);
    QVERIFY(onlyLit(form, 0));
    moveTo(form, kBotMasterTab);
    QVERIFY(onlyLit(form, 6));
    QVERIFY(eyesShown(form));
    moveTo(form, kTitleStrip);
    QVERIFY(onlyLit(form, -1));
    QVERIFY(eyesOut(form));
}

// Ten thousand moves over random points and over the labels, with a page change now and
// then. After each: at most one label orange, the one HoverBtn names; the eye lights shown
// exactly when EyeLightsOff is false; and the state the control under the pointer calls for.
void HoverTest::randomWalkKeepsOneLabelLitAtMost() {
    frmTolvex& form = *fixture_->form;
    QRandomGenerator random(20240611);
    const QSize size = form.size();
    int lightings = 0;
    int clearings = 0;
    int eyeLightings = 0;
    for (int move = 0; move < 10000; ++move) {
        if (move % 500 == 499) {
            const QPoint tab = tabCentre(random.bounded(2) ? 930 : 1215, 1815 * random.bounded(4));
            QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, tab);
        }
        QPoint at(random.bounded(size.width()), random.bounded(size.height()));
        if (random.bounded(3) == 0) {
            const auto& labels = form.lblBtn.members();
            auto it = labels.begin();
            std::advance(it, random.bounded(int(labels.size())));
            if (it->second->isVisible()) {
                const QRect r = it->second->rect();
                at = it->second->mapTo(&form, QPoint(random.bounded(r.width()), random.bounded(r.height())));
            }
        }

        const std::int16_t hoverBefore = form.HoverBtn;
        const bool eyesBefore = form.lblEyeLights->isVisible();
        QWidget* under = controlAt(form, at);
        moveTo(form, at);

        std::int16_t hoverAfter = hoverBefore;
        bool eyesAfter = eyesBefore;
        if (!under || under->objectName().startsWith(QStringLiteral("fTab(")) ||
            under->objectName().startsWith(QStringLiteral("lblTitleBar("))) {
            hoverAfter = -1;
            eyesAfter = false;
            ++clearings;
        } else if (under == form.imgIcon) {
            eyesAfter = true;
            ++eyeLightings;
        } else {
            for (const auto& [index, label] : form.lblBtn.members())
                if (label == under) {
                    hoverAfter = index;
                    ++lightings;
                }
        }

        int orange = 0;
        for (const auto& [index, label] : form.lblBtn.members()) {
            if (textColour(label) == kLit) ++orange;
            else QCOMPARE(textColour(label), kNormal);
        }
        const QString where = QStringLiteral("move %1 to (%2, %3) over %4")
                                  .arg(move)
                                  .arg(at.x())
                                  .arg(at.y())
                                  .arg(under ? under->objectName() : QStringLiteral("the window"));
        QVERIFY2(orange <= 1, qPrintable(where));
        QVERIFY2(orange == (form.HoverBtn == -1 ? 0 : 1), qPrintable(where));
        if (form.HoverBtn != -1) QVERIFY2(textColour(form.lblBtn(form.HoverBtn)) == kLit, qPrintable(where));
        QVERIFY2(form.EyeLightsOff == !form.lblEyeLights->isVisible(), qPrintable(where));
        QVERIFY2(form.HoverBtn == hoverAfter, qPrintable(where));
        QVERIFY2(form.lblEyeLights->isVisible() == eyesAfter, qPrintable(where));
    }
    // The walk went everywhere that matters.
    QVERIFY(lightings > 1000);
    QVERIFY(clearings > 1000);
    QVERIFY(eyeLightings > 5);
}

QTEST_MAIN(HoverTest)
#include "HoverTest.moc"
