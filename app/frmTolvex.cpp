#include "frmTolvex.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>

#include "Accessibility.h"
#include "DesignedLayout.h"
#include "LayoutBuilder.h"
#include "MediaCommandLayer.h"
#include "Navigation.h"
#include "Resources.h"
#include "TuneLoop.h"
#include "Units.h"

namespace tolvex {

frmTolvex::frmTolvex(music::MediaCommandLayer& music, ApplicationPlace place)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), music_(music), place_(std::move(place)) {
    installAccessibility();
    setWindowTitle(QString::fromUtf8(layout::kWindowCaption));
    setWindowIcon(QIcon(QPixmap::fromImage(resources::pictureOf(resources::kIcon))));
    setFixedSize(units::pixels(layout::kWindowWidthTwips), units::pixels(layout::kWindowHeightTwips));
    QPalette background = palette();
    background.setColor(QPalette::Window, units::colour(layout::kWindowBackColour));
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);

    buildDesignedLayout(*this, layout::designedControls());
    imgTolvex->setPicture(QPixmap::fromImage(resources::pictureOf(resources::kLogo)));

    TimerMusic.setInterval(resources::kTuneTickMs);
    // A coarse timer may fire up to 5% early, which would cut the tune's end at every restart.
    TimerMusic.setTimerType(Qt::PreciseTimer);
    connectHandlers();
    connectKeys();
}

frmTolvex::~frmTolvex() = default;

void frmTolvex::connectHandlers() {
    for (const auto& [index, label] : lblBtn.members()) {
        const std::int16_t i = index;
        connect(label, &ClickLabel::clicked, this, [this, i] { lblBtn_Click(i); });
        connect(label, &ClickLabel::mouseMoved, this, [this, i] { lblBtn_MouseMove(i); });
    }
    for (const auto& member : lblTitleBar.members()) {
        ClickLabel* label = member.second;
        connect(label, &ClickLabel::mousePressed, this, &frmTolvex::lblTitleBar_MouseDown);
        connect(label, &ClickLabel::mouseMoved, this, &frmTolvex::followPointer);
        // Only the left button's release ends a move; the window manager's move does the same.
        connect(label, &ClickLabel::mouseReleased, this, [this](Qt::MouseButton button) {
            if (button == Qt::LeftButton) followOffset_.reset();
        });
    }
    for (const auto& member : fTab.members())
        connect(member.second, &PageFrame::mouseMoved, this, &frmTolvex::ClearHighlights);
    connect(imgIcon, &ImageBox::mouseMoved, this, &frmTolvex::imgIcon_MouseMove);
    connect(Label1, &ClickLabel::clicked, this, &frmTolvex::Label1_Click);
    connect(&TimerMusic, &QTimer::timeout, this, &frmTolvex::TimerMusic_Timer);
    connect(&music_.output(), &music::MusicOutput::failed, this, &frmTolvex::showMusicFailure);
    connect(&music_.output(), &music::MusicOutput::tuneStarted, this, &frmTolvex::alignTimerToTune);
}

// Keys for those who do not use a mouse; each acts exactly as the click it stands for.
void frmTolvex::connectKeys() {
    const auto onKeys = [this](std::initializer_list<QKeyCombination> keys, auto action) {
        for (const QKeyCombination key : keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    onKeys({Qt::CTRL | Qt::Key_PageDown, Qt::CTRL | Qt::Key_Tab},
           [this] { lblBtn_Click(wizard::tabAfter(CurrentTab, 1)); });
    onKeys({Qt::CTRL | Qt::Key_PageUp, Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab,
            Qt::CTRL | Qt::SHIFT | Qt::Key_Tab},
           [this] { lblBtn_Click(wizard::tabAfter(CurrentTab, -1)); });
    onKeys({Qt::CTRL | Qt::Key_M}, [this] { toggleMusic(); });
}

// Return reaches the window on the pages without answer boxes, and from single-line boxes,
// which pass it on; a multi-line box keeps it as a line break.
void frmTolvex::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const std::optional<std::int16_t> button = wizard::returnKeyButton(CurrentTab);
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && button) {
        lblBtn_Click(*button);
        return;
    }
    QWidget::keyPressEvent(event);
}

// Every way of closing the window comes through here: "X", the end of a written
// application, the window manager's close and the quit signals. A second close finds the timer
// stopped and no device open, so unloading again changes nothing.
void frmTolvex::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// Pointer moves over the window's own background.
void frmTolvex::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    ClearHighlights();
}

}  // namespace tolvex
