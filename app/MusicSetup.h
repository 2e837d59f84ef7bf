#pragma once

#include "SynthHost.h"

class QWidget;

namespace tolvex {

// Where the synthesizer module and the sound font are, and the names the sound stream carries.
music::SynthHost::Settings musicSettings();

// Starts the synthesizer's thread once the shown window is on the screen and painted, so that
// loading the synthesizer competes with nothing of the window's start.
void beginMusicWhenExposed(QWidget& window, music::SynthHost& synth);

}  // namespace tolvex
