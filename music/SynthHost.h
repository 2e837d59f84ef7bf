#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "AudioCheck.h"
#include "MusicOutput.h"
#include "SynthModuleApi.h"

namespace tolvex::music {

// Hosts the synthesizer module on a thread of its own. The window's thread never waits for the
// module: it posts each command, and the music thread carries them out in order. begin() starts
// the thread, which loads the module, its sound font and the sound server's connection first;
// commands posted before then wait. The program begins once its window is on the screen:
// begun with the program, the window took twice as long to show (measured; its thread waited
// on the dynamic loader's lock while the module loaded).
class SynthHost final : public MusicOutput {
    Q_OBJECT
public:
    struct Settings {
        QString modulePath;  // the module file; empty when the program has none
        QString soundFont;
        QString appName;  // names the sound stream in the desktop's mixer
        QString appIconName;
    };

    // A player of one opened file; only the music thread reads or writes it.
    struct Player {
        void* handle = nullptr;
    };

    explicit SynthHost(Settings settings);
    // Carries out the commands still waiting (a last stop and close), closes the engine and
    // ends the music thread.
    ~SynthHost() override;

    // Starts the music thread and, on it, the engine.
    void begin();

    // 0 when the music can play: the engine runs already, or the sound font and an audio output
    // pass their cheap checks. Otherwise MediaError::NoSoundFont or NoAudioOutput.
    int availability();

    void open(const std::shared_ptr<Player>& player, QByteArray midiFile);
    void play(const std::shared_ptr<Player>& player);
    void stop(const std::shared_ptr<Player>& player);
    void close(const std::shared_ptr<Player>& player);

    void setEnabled(bool enabled) override;

private:
    using Command = std::function<void()>;

    void post(Command command);
    void run();
    // The output that answers, with one warning line when it is not the sound server.
    std::optional<AudioOutput> findOutput();
    // On the music thread: the module loaded, or one warning line saying why it cannot be.
    bool loadModule();
    // On the music thread: the module loaded and its engine started; false when either failed.
    bool ensureStarted();
    static void moduleSays(void* host, int severity, const char* line);
    void report(void (MusicOutput::*signal)());

    const Settings settings_;
    const QByteArray soundFont_, appName_, appIconName_;  // the settings' texts for the module
    AudioOutput output_ = AudioOutput::Pulse;             // the output the checks found; read at start

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Command> commands_;
    bool quitting_ = false;
    std::thread thread_;

    // Read by the window's thread, written by the music thread.
    std::atomic<bool> running_{false};
    // Written by the window's thread as the host closes, read by the music thread.
    std::atomic<bool> closing_{false};

    // Music thread only.
    const TolvexSynthApi* api_ = nullptr;
    bool moduleBroken_ = false;
    bool outputEnabled_ = true;
    bool startFailed_ = false;
};

}  // namespace tolvex::music
