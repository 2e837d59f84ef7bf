#pragma once

#include <array>
#include <string>

#include "SynthLaunch.h"
#include "SynthSettings.h"

namespace tolvex {

// What the program's start, made before the toolkit's libraries are loaded, hands the window
// library: the synthesizer's process and what it was started with.
struct WindowStart {
    music::SynthSettings music;               // its modulePath is empty when neither place has the module
    std::array<std::string, 2> modulePlaces;  // where the module was looked for, in that order
    music::LaunchedSynth synth;               // none (pid 0) when there is no module
};

// The window library's one exported function: the program from the toolkit's start to its end.
// Its exit status.
using WindowMain = int (*)(int argc, char* argv[], const WindowStart& start);
inline constexpr char kWindowMainName[] = "tolvex_window_main";

}  // namespace tolvex
