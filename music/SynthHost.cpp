#include "SynthHost.h"

#include <QFile>

#include <dlfcn.h>

#include "MediaError.h"
#include "ModuleFileCheck.h"

namespace tolvex::music {

SynthHost::SynthHost(Settings settings)
    : settings_(std::move(settings)),
      soundFont_(QFile::encodeName(settings_.soundFont)),
      appName_(settings_.appName.toUtf8()),
      appIconName_(settings_.appIconName.toUtf8()) {}

SynthHost::~SynthHost() {
    if (!thread_.joinable()) return;
    closing_ = true;
    post([this] {
        if (api_) api_->finish();
    });
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void SynthHost::begin() {
    if (thread_.joinable()) return;
    // The engine starts at once, before any command, so that the tune sounds as soon as it is
    // played. A failure here is reported when the music is asked for, if it still fails then.
    post([this] {
        const std::optional<AudioOutput> output = answeringOutput();
        if (!output) return;
        output_ = *output;
        ensureStarted();
    });
    thread_ = std::thread([this] { run(); });
}

int SynthHost::availability() {
    if (running_) return 0;
    if (!isSoundFont(settings_.soundFont)) return code(MediaError::NoSoundFont);
    const std::optional<AudioOutput> output = answeringOutput();
    if (!output) return code(MediaError::NoAudioOutput);
    post([this, found = *output] { output_ = found; });
    return 0;
}

void SynthHost::open(const std::shared_ptr<Player>& player, QByteArray midiFile) {
    post([this, player, bytes = std::move(midiFile)] {
        if (!ensureStarted()) return report(&MusicOutput::failed);
        player->handle = api_->open(bytes.constData(), std::size_t(bytes.size()));
        if (!player->handle) report(&MusicOutput::failed);
    });
}

void SynthHost::play(const std::shared_ptr<Player>& player) {
    post([this, player] {
        if (player->handle) api_->play(player->handle);
    });
}

void SynthHost::stop(const std::shared_ptr<Player>& player) {
    post([this, player] {
        if (player->handle) api_->stop(player->handle);
    });
}

void SynthHost::close(const std::shared_ptr<Player>& player) {
    post([this, player] {
        if (player->handle) api_->close(player->handle);
        player->handle = nullptr;
    });
}

void SynthHost::setEnabled(bool enabled) {
    post([this, enabled] {
        outputEnabled_ = enabled;
        if (api_ && running_ && api_->setOutputEnabled(enabled) != 0) report(&MusicOutput::failed);
    });
}

void SynthHost::post(Command command) {
    {
        const std::lock_guard lock(mutex_);
        commands_.push_back(std::move(command));
    }
    wake_.notify_one();
}

void SynthHost::run() {
    for (;;) {
        Command command;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || !commands_.empty(); });
            if (commands_.empty()) return;
            command = std::move(commands_.front());
            commands_.pop_front();
        }
        command();
    }
}

bool SynthHost::ensureStarted() {
    if (!api_ && !moduleBroken_) {
        // RTLD_LOCAL: the synthesizer's libraries stay the module's own. The module is never
        // closed: its exit-time destructors run with the program's. A module cut short is
        // taken as missing.
        void* library =
            !isWholeModuleFile(settings_.modulePath)
                ? nullptr
                : ::dlopen(QFile::encodeName(settings_.modulePath).constData(), RTLD_NOW | RTLD_LOCAL);
        const auto entry =
            library ? reinterpret_cast<TolvexSynthEntry>(::dlsym(library, "tolvex_synth_api")) : nullptr;
        const TolvexSynthApi* api = entry ? entry() : nullptr;
        if (api && api->abi == kTolvexSynthAbi) {
            api_ = api;
            if (!outputEnabled_) api_->setOutputEnabled(0);
        } else {
            moduleBroken_ = true;
        }
    }
    if (!api_) return false;
    // Started once per run: the window's commands and begin() all come here, and each start
    // of a running engine would wait on its output again.
    if (running_) return true;
    // Called on the audio thread: report() only posts to the window's thread.
    const auto tuneSounding = [](void* host) {
        static_cast<SynthHost*>(host)->report(&MusicOutput::tuneStarted);
    };
    const TolvexSynthConfig config{
        soundFont_.constData(), output_ == AudioOutput::Pulse ? kTolvexOutputPulse : kTolvexOutputAlsa,
        appName_.constData(),   appIconName_.constData(),
        tuneSounding,           this};
    // A start that failed is not tried again as the program closes: against a sound server that
    // accepts but does not answer, each try waits seconds for nothing.
    if (closing_ && startFailed_) return false;
    running_ = api_->start(&config) == 0;
    startFailed_ = !running_;
    return running_;
}

void SynthHost::report(void (MusicOutput::*signal)()) {
    const auto emitSignal = [this, signal] { emit(this->*signal)(); };
    QMetaObject::invokeMethod(this, emitSignal, Qt::QueuedConnection);
}

}  // namespace tolvex::music
