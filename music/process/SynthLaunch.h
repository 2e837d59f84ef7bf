#pragma once

#include <sys/types.h>

#include "SynthSettings.h"

namespace tolvex::music {

// The synthesizer's process as it was forked: the program's end of the socket to it, or, when it
// could not be made, the system's error number.
struct LaunchedSynth {
    pid_t pid = 0;
    int socket = -1;
    int error = 0;
};

// Forks the synthesizer's process, which loads the module and serves the program's calls
// (serveSynth). The program starts it first of all, before the toolkit's libraries are loaded: the
// module's libraries and its sound font then load on the other processor while this one loads the
// window's. The thread that calls it must live as long as the program: the process ends when that
// thread does.
LaunchedSynth launchSynthProcess(const SynthSettings& settings);

}  // namespace tolvex::music
