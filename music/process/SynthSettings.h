#pragma once

#include <string>

namespace tolvex::music {

// Where the synthesizer module and its sound font are, and the names the sound stream carries.
// File names are as the system spells them (bytes, not text): the synthesizer's process reads
// them before the toolkit is loaded.
struct SynthSettings {
    std::string modulePath;  // the module file; empty when the program has none
    std::string soundFont;
    std::string appName;  // names the sound stream in the desktop's mixer
    std::string appIconName;
};

}  // namespace tolvex::music
