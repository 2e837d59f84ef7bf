#pragma once

namespace tolvex::synth {

// Keeps every message of the synthesizer library and of ALSA off the terminal: the program
// reports what matters itself. Safe to call more than once.
void quietEngineLogs();

}  // namespace tolvex::synth
