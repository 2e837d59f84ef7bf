#pragma once

#include <QString>

namespace tolvex::music {

// Where the synthesizer module and its sound font are, and the names the sound stream carries.
struct SynthSettings {
    QString modulePath;  // the module file; empty when the program has none
    QString soundFont;
    QString appName;  // names the sound stream in the desktop's mixer
    QString appIconName;
};

}  // namespace tolvex::music
