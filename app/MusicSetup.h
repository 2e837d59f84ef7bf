#pragma once

#include "SynthHost.h"

namespace tolvex {

// Where the synthesizer module and the sound font are, and the names the sound stream carries.
music::SynthHost::Settings musicSettings();

}  // namespace tolvex
