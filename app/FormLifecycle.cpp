#include <QGuiApplication>
#include <QScreen>

#include "HomePage.h"
#include "LayoutBuilder.h"
#include "Navigation.h"
#include "frmTolvex.h"

namespace tolvex {

void frmTolvex::Form_Load() {
    imgIcon->setPicture(windowIcon().pixmap(imgIcon->size(), 1.0));

    // Centred on the whole screen, not clamped: a window larger than the screen gets a
    // negative position.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const float left = float(screen.x() + screen.width() / 2.0 - width() / 2.0);
    const float top = float(screen.y() + screen.height() / 2.0 - height() / 2.0);
    move(qRound(left), qRound(top));

    HoverBtn = -1;
    EyeLightsOff = true;
    CurrentTab = wizard::kWelcomeTab;
    focusShownPage();

    lblBtn(wizard::kHomePageLink)->setText(homepage::homePageAddress());
    autoSize(*lblBtn(wizard::kHomePageLink));

    ExtractMusic();
    // The music is decoration: without its file the window still opens, silent.
    if (MidiPath.isEmpty()) return;
    PlayMusic();
    TimerMusic.start();
}

void frmTolvex::Form_Unload() {
    TimerMusic.stop();
    StopMusic();
}

}  // namespace tolvex
