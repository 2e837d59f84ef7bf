#pragma once

#include "SynthHost.h"
#include "WindowStart.h"

namespace tolvex {

// Where the synthesizer module and the sound font are, and the names the sound stream carries, as
// the program's start found them; one warning line when it found no module.
music::SynthHost::Settings musicSettings(const WindowStart& start);

}  // namespace tolvex
