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
    // Waits until the output is open: false when its first connection failed. One that
    // connected once, or that keeps trying, is open.
    virtual bool waitUntilOpen() { return true; }
    // Called once a tune has been played on the engine, so that the output can carry it at once.
    virtual void tunePlayed() {}
};

struct StreamNames {
    std::string application;  // the program's name, as the desktop's mixer shows it
    std::string iconName;
};

using TuneSounding = std::function<void()>;

enum class PulseStart {
    // The server must answer: when it does not, waitUntilOpen() says false.
    Once,
    // The server may be away: the output connects whenever it answers, trying every second.
    KeepTrying,
};

// The PulseAudio server (or a server of its protocol), connecting in the background from now on:
// the caller does other work meanwhile, then waits with waitUntilOpen(). Nothing when the
// output's own thread cannot start.
std::unique_ptr<Output> openPulseOutput(Engine& engine, const StreamNames& names, TuneSounding tuneSounding,
                                        PulseStart start);

// The default ALSA device; nothing if it cannot be opened.
std::unique_ptr<Output> openAlsaOutput(Engine& engine, TuneSounding tuneSounding);

}  // namespace tolvex::synth
