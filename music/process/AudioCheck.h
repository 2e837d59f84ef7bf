#pragma once

#include <optional>
#include <string>
#include <vector>

// Cheap checks, made before the window shows, of what the synthesizer module will need: they
// take a millisecond where loading the module and its sound font takes a hundred. Free of the
// toolkit, as the synthesizer's process is: it checks the sound font before it makes the engine.
namespace tolvex::music {

// True when the file can be read and starts as a SoundFont file does ("RIFF", size, "sfbk").
bool isSoundFont(const std::string& path);

enum class AudioOutput { Pulse, Alsa };

// The local sockets of the PulseAudio servers the sound library would try, in its order: those
// named by PULSE_SERVER, else the user's and the system's. A remote server is not among them.
std::vector<std::string> pulseServerSockets();

// The output the music can play on: the PulseAudio server when its socket accepts a
// connection (a server named by PULSE_SERVER other than a local socket is taken on trust),
// else ALSA when the system has a sound card; nothing when neither answers.
std::optional<AudioOutput> answeringOutput();

}  // namespace tolvex::music
