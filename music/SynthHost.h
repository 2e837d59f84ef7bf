#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "AudioCheck.h"
#include "MusicOutput.h"
#include "SynthProcess.h"
#include "SynthSettings.h"

namespace tolvex::music {

// Hosts the synthesizer module, which runs in a process of its own (SynthProcess), through a
// thread of its own. The window's thread never waits for the module: it posts each command, and
// the music thread carries them out in order. begin() takes over the process, which the program
// forked before its toolkit loaded and which starts the engine on its own, and starts the thread.
// Commands wait until the window is on the screen (windowShown): carried out earlier, the output's
// start and the tune's took the processors from the window's (measured: the window mapped about
// 7 % later).
class SynthHost final : public MusicOutput {
    Q_OBJECT
public:
    using Settings = SynthSettings;

    // A player of one opened file; only the music thread reads or writes it.
    struct Player {
        std::uint64_t handle = 0;
    };

    explicit SynthHost(Settings settings);
    // Carries out the commands still waiting (a last stop and close), closes the engine and
    // ends the music thread. Should that take longer than a second (a call that the process does
    // not answer, such as a start on a sound server that accepts and never answers), the process
    // is ended instead, so that the program does not outlive its window by seconds.
    ~SynthHost() override;

    // Takes over the synthesizer's process the program forked (launchSynthProcess with this host's
    // settings; none when the settings have no module) and starts the music thread and, on them,
    // the engine.
    void begin(const LaunchedSynth& launched);

    // 0 when the music can play: the engine runs already, or the sound font and an audio output
    // pass their cheap checks. Otherwise MediaError::NoSoundFont or NoAudioOutput.
    int availability();

    void open(const std::shared_ptr<Player>& player, QByteArray midiFile);
    void play(const std::shared_ptr<Player>& player);
    void stop(const std::shared_ptr<Player>& player);
    void close(const std::shared_ptr<Player>& player);

    void setEnabled(bool enabled) override;

    // The window is on the screen: the commands posted so far are carried out, and the next ones
    // as they come.
    void windowShown();

private:
    using Command = std::function<void()>;

    void post(Command command);
    void run();
    // The output that answers, with one warning line when it is not the sound server.
    std::optional<AudioOutput> findOutput();
    // On the music thread: the module loaded in its process, or one warning line saying why not.
    bool loadModule();
    // On the music thread: the module loaded and its engine started; false when either failed.
    bool ensureStarted();
    static void moduleSays(int severity, const std::string& line);
    void report(void (MusicOutput::*signal)());

    const Settings settings_;
    AudioOutput output_ = AudioOutput::Pulse;  // the output the checks found; read at start

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Command> commands_;
    bool shown_ = false;
    bool quitting_ = false;
    std::condition_variable drained_;
    bool stopped_ = false;  // the music thread has carried out its last command
    std::thread thread_;

    // Read by the window's thread, written by the music thread.
    std::atomic<bool> running_{false};
    // Written by the window's thread as the host closes, read by the music thread.
    std::atomic<bool> closing_{false};

    std::unique_ptr<SynthProcess> process_;
    QString whyNoProcess_;

    // Music thread only.
    bool moduleLoaded_ = false;
    bool moduleBroken_ = false;
    bool outputEnabled_ = true;
    bool startFailed_ = false;
};

}  // namespace tolvex::music
