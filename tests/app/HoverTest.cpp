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

QColor textColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

// Points of the window, in twips as the design measures them.
QPoint tabCentre(int rowTop, int tabLeft) { return WindowFixture::at(135 + tabLeft + 900, rowTop + 135); }
const QPoint kWelcomeTab = tabCentre(1215, 0);
const QPoint kGeneralTab = tabCentre(1215, 1815);
const QPoint kBotMasterTab = tabCentre(930, 0);
const QPoint kCloseLabel = WindowFixture::at(7300, 150);
const QPoint kHomePageLink = WindowFixture::at(135 + 60, 5025 + 165);
const QPoint kBeginLabel = WindowFixture::at(135 + 6225 + 440, 1485 + 3045 + 170);
const QPoint kBackground = WindowFixture::at(3750, 700);
const QPoint kPage = WindowFixture::at(2000, 4700);
const QPoint kTitleStrip = WindowFixture::at(3000, 150);
const QPoint kGreyCircle = WindowFixture::at(600, 450);
const QPoint kIconBesideEyes = WindowFixture::at(90, 300);
const QPoint kIconUnderEyes = WindowFixture::at(300, 300);  // the icon, or the eye lights when shown
const QPoint kAboveIcon = WindowFixture::at(300, 30);       // the eye lights when shown, else the corner area
const QPoint kTabRowGap = WindowFixture::at(135 + 1807, 1215 + 135);
const QPoint kQuiet[] = {kTabRowGap, WindowFixture::at(5000, 3000), WindowFixture::at(1500, 3000),
                         WindowFixture::at(5000, 5150)};  // tab row gap, welcome text, logo, credit

void moveTo(frmTolvex& form, QPoint at) { QTest::mouseMove(form.windowHandle(), at); }

// After the pointer reaches `at`: only lblBtn(lit) orange (none for -1), and the eye lights as `eyes`.
[[nodiscard]] bool movedTo(frmTolvex& form, QPoint at, std::int16_t lit, bool eyes) {
    moveTo(form, at);
    bool ok = form.HoverBtn == lit && form.lblEyeLights->isVisible() == eyes && form.EyeLightsOff == !eyes;
    for (const auto& [index, label] : form.lblBtn.members())
        ok = ok && textColour(label) == (index == lit ? kLit : kNormal);
    if (!ok) qWarning() << "at" << at << "HoverBtn" << form.HoverBtn << "expected" << lit << "eyes" << eyes;
    return ok;
}

}  // namespace

class HoverTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> fixture_;

private slots:
    // A move to where the pointer already is never reaches the window, so each test starts with
    // the pointer on the tab row's gap, where a move changes nothing.
    void init() {
        fixture_ = std::make_unique<WindowFixture>();
        moveTo(*fixture_->form, kTabRowGap);
    }
    void cleanup() { fixture_.reset(); }

    // A layout change must not leave the tests below moving over other controls than they mean.
    void pointsLieOnTheirControls() {
        frmTolvex& f = *fixture_->form;
        const std::vector<std::pair<QPoint, const QWidget*>> points{
            {kCloseLabel, f.lblBtn(0)},      {kHomePageLink, f.lblBtn(1)},    {kBeginLabel, f.lblBtn(10)},
            {kBotMasterTab, f.lblBtn(6)},    {kBackground, nullptr},          {kPage, f.fTab(0)},
            {kTitleStrip, f.lblTitleBar(0)}, {kGreyCircle, f.lblTitleBar(1)}, {kAboveIcon, f.lblTitleBar(1)},
            {kIconUnderEyes, f.imgIcon},     {kIconBesideEyes, f.imgIcon},    {kTabRowGap, f.fTabHolder(0)},
            {kQuiet[1], f.lblWelcome},       {kQuiet[2], f.imgTolvex},        {kQuiet[3], f.Label1}};
        for (const auto& [at, control] : points)
            QCOMPARE(f.childAt(at), control);
    }

    void firstMoveLightsOnlyThatLabel_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("index");
        QTest::newRow("X") << kCloseLabel << 0;
        QTest::newRow("home page") << kHomePageLink << 1;
        QTest::newRow("Welcome, selected") << kWelcomeTab << 2;
        QTest::newRow("Bot Master, back row") << kBotMasterTab << 6;
        QTest::newRow("Begin") << kBeginLabel << 10;
    }

    void firstMoveLightsOnlyThatLabel() {
        QFETCH(QPoint, at);
        QFETCH(int, index);
        frmTolvex& form = *fixture_->form;
        QVERIFY(movedTo(form, kTabRowGap + QPoint(0, 1), -1, false));
        QVERIFY(movedTo(form, at, std::int16_t(index), false));
        QVERIFY(movedTo(form, at + QPoint(3, 2), std::int16_t(index), false));  // the same label again
    }

    void labelToLabelGivesTheFirstItsColourBack() {
        frmTolvex& form = *fixture_->form;
        const std::vector<std::pair<QPoint, std::int16_t>> path{
            {kWelcomeTab, 2},   {kGeneralTab, 3},   {tabCentre(1215, 3630), 4},
            {kBotMasterTab, 6}, {kCloseLabel, 0},   {tabCentre(930, 5445), 9},
            {kBeginLabel, 10},  {kHomePageLink, 1}, {kWelcomeTab, 2}};
        for (const auto& [at, index] : path)
            QVERIFY(movedTo(form, at, index, false));
    }

    void surfacesWithoutHandlersLeaveTheLabelLit() {
        frmTolvex& form = *fixture_->form;
        QVERIFY(movedTo(form, kGeneralTab, 3, false));
        for (const QPoint at : kQuiet)
            QVERIFY(movedTo(form, at, 3, false));

        // Answer boxes, their scroll bars and the questions beside them.
        form.lblBtn_Click(5);  // the Site op page, with a multi-line box
        QVERIFY(movedTo(form, tabCentre(1215, 5445), 5, false));
        const QWidget* about = form.txtField(13)->widget();
        const QPoint points[] = {form.txtField(10)->widget()->mapTo(&form, QPoint(4, 4)),
                                 form.lblCaption(10)->mapTo(&form, QPoint(4, 4)),
                                 about->mapTo(&form, QPoint(4, 4)),
                                 about->mapTo(&form, QPoint(about->width() - 4, about->height() / 2))};
        for (const QPoint at : points)
            QVERIFY(movedTo(form, at, 5, false));
    }

    // The window background, a page and the title bar put out the label and the eye lights.
    void clearingSurfacesPutTheLightsOut() {
        frmTolvex& form = *fixture_->form;
        for (const QPoint at : {kBackground, WindowFixture::at(60, 5300), kPage, kTitleStrip, kGreyCircle}) {
            QVERIFY(movedTo(form, kIconBesideEyes, -1, true));
            QVERIFY(movedTo(form, kGeneralTab, 3, true));  // a lit label stays lit while the eyes show
            QVERIFY(movedTo(form, at, -1, false));
        }
    }

    void hoverLeavesTabBackgroundsAlone() {
        frmTolvex& form = *fixture_->form;
        form.lblBtn_Click(3);
        for (const auto& [at, lit] : std::vector<std::pair<QPoint, std::int16_t>>{
                 {kGeneralTab, 3}, {kWelcomeTab, 2}, {kBackground, -1}}) {
            QVERIFY(movedTo(form, at, lit, false));
            for (std::int16_t k = 2; k <= 9; ++k)
                QCOMPARE(form.lblBtn(k)->palette().color(QPalette::Window),
                         k == 3 ? QColor(84, 44, 169) : QColor(128, 128, 128));
        }
    }

    void eyeLightsStayUntilAClearingSurface() {
        frmTolvex& form = *fixture_->form;
        QVERIFY(movedTo(form, kCloseLabel, 0, false));
        QVERIFY(movedTo(form, kIconUnderEyes, 0, true));
        for (const QPoint at : {kIconBesideEyes, kAboveIcon, kQuiet[0], kQuiet[1], kQuiet[2], kQuiet[3]})
            QVERIFY(movedTo(form, at, 0, true));
        QVERIFY(movedTo(form, kBotMasterTab, 6, true));
        QVERIFY(movedTo(form, kPage, -1, false));
        QVERIFY(movedTo(form, kAboveIcon, -1, false));  // hidden, they leave the corner to the title bar
        QVERIFY(movedTo(form, kIconUnderEyes, -1, true));
    }

    // Random points and random labels, with a page change now and then; after each move at most
    // one label orange, the one HoverBtn names, and the eye lights shown exactly when not off.
    void randomWalkKeepsOneLabelLitAtMost() {
        frmTolvex& form = *fixture_->form;
        QRandomGenerator random(20240611);
        const auto& labels = form.lblBtn.members();
        int lit = 0;
        for (int move = 0; move < 10000; ++move) {
            if (move % 500 == 499) form.lblBtn_Click(std::int16_t(2 + random.bounded(8)));
            QPoint at(random.bounded(form.width()), random.bounded(form.height()));
            const QWidget* label = std::next(labels.begin(), random.bounded(int(labels.size())))->second;
            if (random.bounded(3) == 0 && label->isVisible())
                at = label->mapTo(&form,
                                  QPoint(random.bounded(label->width()), random.bounded(label->height())));
            moveTo(form, at);

            int orange = 0;
            for (const auto& member : labels)
                orange += textColour(member.second) == kLit;
            const QByteArray where =
                QStringLiteral("move %1 to (%2, %3)").arg(move).arg(at.x()).arg(at.y()).toUtf8();
            QVERIFY2(orange == (form.HoverBtn == -1 ? 0 : 1), where);
            QVERIFY2(form.HoverBtn == -1 || textColour(form.lblBtn(form.HoverBtn)) == kLit, where);
            QVERIFY2(form.EyeLightsOff == !form.lblEyeLights->isVisible(), where);
            lit += orange;
        }
        QVERIFY(lit > 1000);  // the walk went over the labels
    }
};

QTEST_MAIN(HoverTest)
#include "HoverTest.moc"
