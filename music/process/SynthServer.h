#pragma once

#include "SynthSettings.h"

namespace tolvex::music {

// The synthesizer's process, forked from the program: loads the module and tells the program
// whether it could; makes the engine at once when the sound font looks usable, so that the music
// is ready as the window shows (the output opens when the program starts the music); then carries
// out the program's calls in order. Ends when the program closes its end of `socket`.
[[noreturn]] void serveSynth(int socket, const SynthSettings& settings);

}  // namespace tolvex::music
