#include "frmTolvex.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMouseEvent>

#include "DesignedLayout.h"
#include "LayoutBuilder.h"
#include "Resources.h"
#include "Units.h"

namespace tolvex {

frmTolvex::frmTolvex(music::MediaCommandLayer& media, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), media_(media) {
    setWindowTitle(QStringLiteral("Tolvex App"));
    setWindowIcon(QIcon(resources::kIcon));
    setFixedSize(units::pixels(layout::kWindowWidthTwips), units::pixels(layout::kWindowHeightTwips));
    QPalette background = palette();
    background.setColor(QPalette::Window, units::colour(layout::kWindowBackColour));
    setPalette(background);
    setAutoFillBackground(true);
    setMouseTracking(true);

    buildDesignedLayout(*this);

    TimerMusic.setInterval(layout::kMusicTimerIntervalMs);
    connectHandlers();
}

frmTolvex::~frmTolvex() = default;

void frmTolvex::connectHandlers() {
    for (const auto& [index, label] : lblBtn.members()) {
        const std::int16_t i = index;
        connect(label, &ClickLabel::clicked, this, [this, i] { lblBtn_Click(i); });
        connect(label, &ClickLabel::mouseMoved, this, [this, i] { lblBtn_MouseMove(i); });
    }
    for (const auto& [index, label] : lblTitleBar.members()) {
        const std::int16_t i = index;
        connect(label, &ClickLabel::mousePressed, this,
                [this, i](Qt::MouseButton button, QPointF at) { lblTitleBar_MouseDown(i, button, at); });
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
}

// Every way of closing the window comes through here: "X", the end of a written
// application, and the window manager's close.
void frmTolvex::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    event->accept();
}

// Pointer moves over the window's own background.
void frmTolvex::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    ClearHighlights();
}

}  // namespace tolvex
