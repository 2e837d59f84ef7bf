#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tolvex::synth {

class Engine;

// Where the engine's sound goes: an open output renders the engine on a thread of its own
// until it is destroyed. When the first frames of a tune go out to be heard, it calls its
// `tuneSounding` on that thread.
class Output {
public:
    virtual ~Output() = default;
};

struct StreamNames {
    std::string application;  // the program's name, as the desktop's mixer shows it
    std::string iconName;
};

using TuneSounding = std::function<void()>;

// The PulseAudio server (or a server of its protocol); nothing if it does not answer.
std::unique_ptr<Output> openPulseOutput(Engine& engine, const StreamNames& names, TuneSounding tuneSounding);

// The default ALSA device; nothing if it cannot be opened.
std::unique_ptr<Output> openAlsaOutput(Engine& engine, TuneSounding tuneSounding);

}  // namespace tolvex::synth
