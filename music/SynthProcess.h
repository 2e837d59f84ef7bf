#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "SynthLaunch.h"
#include "SynthWire.h"

namespace tolvex::music {

// The synthesizer module, run in a process of its own that the program forks as it starts
// (launchSynthProcess). There the module's libraries load and its sound font reads beside the
// window's start: in the program's own process, loading them held the window's thread on the
// dynamic loader's lock. A crash of the synthesizer ends the music, never the window with the
// applicant's answers.
//
// One thread makes the calls; each waits for its answer. The process's reports arrive on a
// thread of this object's own.
class SynthProcess {
public:
    struct Reports {
        std::function<void()> sounding;  // the first frames of a played tune go out
        std::function<void(int severity, const std::string& line)> log;
    };

    // Takes over the process the program forked.
    SynthProcess(const LaunchedSynth& launched, Reports reports);
    // Lets the process end once the calls made have been answered.
    ~SynthProcess();

    // Waits until the module is loaded: nothing then, or why it cannot be used.
    std::optional<QString> moduleProblem();
    // Each as the module's call of the same name; a process that has ended answers with a failure.
    int start(int output);
    std::uint64_t open(const QByteArray& midiFile);
    int play(std::uint64_t player);
    int stop(std::uint64_t player);
    void close(std::uint64_t player);
    int setOutputEnabled(bool enabled);
    void finish();
    // Ends the process at once, without waiting for the calls made: for a program that closes
    // while a call hangs. The end is then expected, and not told.
    void endNow();

private:
    std::optional<wire::Frame> call(wire::Kind kind, std::int32_t value = 0, std::uint64_t player = 0,
                                    const QByteArray& bytes = {});
    void readReports();
    // How the process ended, once its end of the socket has closed.
    QString howItEnded();

    const pid_t pid_;
    const int socket_;
    const Reports reports_;

    std::mutex mutex_;
    std::condition_variable answered_;
    std::optional<wire::Frame> moduleLoaded_, reply_;
    bool gone_ = false;     // the process's end of the socket has closed
    bool closing_ = false;  // the program lets the process end
    std::mutex reaping_;
    std::optional<int> status_;
    std::thread reader_;
};

}  // namespace tolvex::music
