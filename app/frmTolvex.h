#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "ApplicationPlace.h"
#include "ControlArray.h"
#include "controls/CircleShape.h"
#include "controls/ClickLabel.h"
#include "controls/ImageBox.h"
#include "controls/PageFrame.h"
#include "controls/TextBox.h"

namespace tolvex {

namespace music {
class MediaCommandLayer;
}  // namespace music

// The program's one window: every control, the window's state and its handlers.
// Handlers are thin; what can be tested without a window lives in wizard/, appfile/,
// music/ and homepage/.
class frmTolvex : public QWidget {
    Q_OBJECT
public:
    // The music is played through its media-command layer, which also leads to its output.
    frmTolvex(music::MediaCommandLayer& music, ApplicationPlace place);
    ~frmTolvex() override;

    // Finishes the window after its controls exist and before it is first shown.
    void Form_Load();

    // Controls, by their designed names.
    ControlArray<ClickLabel> lblBtn;
    ControlArray<ClickLabel> lblCaption;
    ControlArray<ClickLabel> lblTitleBar;
    ControlArray<PageFrame> fTab;
    ControlArray<PageFrame> fTabHolder;
    ControlArray<TextBox> txtField;
    ClickLabel* lblEyeLights = nullptr;
    ClickLabel* lblWelcome = nullptr;
    ClickLabel* Label1 = nullptr;
    ImageBox* imgIcon = nullptr;
    ImageBox* imgTolvex = nullptr;
    CircleShape* shapeTitle = nullptr;
    QTimer TimerMusic;

    // Event handlers.
    void lblBtn_Click(std::int16_t Index);
    void lblBtn_MouseMove(std::int16_t Index);
    void imgIcon_MouseMove();
    // Either title-bar label: the caption strip or the corner's drag area.
    void lblTitleBar_MouseDown(Qt::MouseButton Button, QPointF globalPosition);
    void Label1_Click();
    void TimerMusic_Timer();
    void ClearHighlights();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void connectHandlers();
    void connectKeys();
    void focusShownPage();
    void Form_Unload();
    void WriteApplication();
    void OpenHomePage();
    void ExtractMusic();
    void PlayMusic();
    void StopMusic();
    void followPointer(Qt::MouseButtons buttons, QPointF globalPosition);
    void showMusicFailure();
    void alignTimerToTune();
    void toggleMusic();

    // State of the window.
    std::int16_t CurrentTab = 0;
    std::int16_t HoverBtn = 0;
    bool EyeLightsOff = false;
    QString MidiPath;
    std::int16_t MusicTicks = 0;

    music::MediaCommandLayer& music_;
    const ApplicationPlace place_;
    bool musicFailureShown_ = false;
    bool musicOn_ = true;
    // Only where the window manager cannot move the window: the pointer's offset from the
    // window's corner while the window follows it.
    std::optional<QPointF> followOffset_;
};

}  // namespace tolvex
