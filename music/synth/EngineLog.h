#pragma once

#include <QString>

namespace tolvex::music {

// Routes every message of the synthesizer library and of ALSA away from the terminal, keeping
// the last error text. Safe to call more than once.
void quietEngineLogs();

// The last error the synthesizer library or ALSA reported since quietEngineLogs, or empty.
QString lastEngineError();

}  // namespace tolvex::music
