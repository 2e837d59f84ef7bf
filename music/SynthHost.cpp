#include "SynthHost.h"

#include <QFile>

#include <dlfcn.h>

#include "MediaError.h"
#include "ModuleFileCheck.h"
#include "MusicLog.h"

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
        const std::optional<AudioOutput> output = findOutput();
        if (!output) return;
        output_ = *output;
        ensureStarted();
    });
    thread_ = std::thread([this] { run(); });
}

int SynthHost::availability() {
    if (running_) return 0;
    if (!isSoundFont(settings_.soundFont)) {
        warnFallback(Fallback::SoundFont,
                     QStringLiteral("the sound font %1 cannot be read or is not a SoundFont file: no music")
                         .arg(settings_.soundFont));
        return code(MediaError::NoSoundFont);
    }
    const std::optional<AudioOutput> output = findOutput();
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

std::optional<AudioOutput> SynthHost::findOutput() {
    const std::optional<AudioOutput> output = answeringOutput();
    if (output == AudioOutput::Pulse) {
        noteRecovered(Fallback::Output, QStringLiteral("a PulseAudio server answers again"));
        return output;
    }
    const QString noServer = QStringLiteral("no PulseAudio server answers (tried %1)")
                                 .arg(pulseServerSockets().join(QStringLiteral(", ")));
    warnFallback(Fallback::Output,
                 output ? noServer + QStringLiteral(": the music plays on the sound card through ALSA")
                        : noServer + QStringLiteral(" and /proc/asound/cards lists no sound card: no music"));
    return output;
}

bool SynthHost::loadModule() {
    const QString& path = settings_.modulePath;
    // A program without its module was told of by the program's set-up, which looked for it.
    if (path.isEmpty()) return false;
    const auto broken = [&path](const QString& why) {
        warnFallback(Fallback::Module,
                     QStringLiteral("the synthesizer module %1 %2: no music").arg(path, why));
        return false;
    };
    // A module cut short would kill the program inside dlopen: it is taken as missing.
    if (!isWholeModuleFile(path))
        return broken(QStringLiteral("is missing, cut short or not a shared library for this machine"));
    // RTLD_LOCAL: the synthesizer's libraries stay the module's own. The module is never
    // closed: its exit-time destructors run with the program's.
    void* library = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return broken(QStringLiteral("cannot be loaded: %1").arg(QString::fromLocal8Bit(::dlerror())));
    const auto entry = reinterpret_cast<TolvexSynthEntry>(::dlsym(library, "tolvex_synth_api"));
    if (!entry)
        return broken(QStringLiteral("is not TolvexApp's: %1").arg(QString::fromLocal8Bit(::dlerror())));
    const TolvexSynthApi* api = entry();
    if (!api || api->abi != kTolvexSynthAbi)
        return broken(QStringLiteral("is of another version of TolvexApp (interface %1, not %2)")
                          .arg(api ? api->abi : 0)
                          .arg(int(kTolvexSynthAbi)));
    api_ = api;
    if (!outputEnabled_) api_->setOutputEnabled(0);
    return true;
}

bool SynthHost::ensureStarted() {
    if (!api_ && !moduleBroken_) moduleBroken_ = !loadModule();
    if (!api_) return false;
    // Started once per run: the window's commands and begin() all come here, and each start
    // of a running engine would wait on its output again.
    if (running_) return true;
    // Called on the audio thread: report() only posts to the window's thread.
    const auto tuneSounding = [](void* host) {
        static_cast<SynthHost*>(host)->report(&MusicOutput::tuneStarted);
    };
    const TolvexSynthConfig config{soundFont_.constData(),
                                   output_ == AudioOutput::Pulse ? kTolvexOutputPulse : kTolvexOutputAlsa,
                                   appName_.constData(),
                                   appIconName_.constData(),
                                   tuneSounding,
                                   moduleSays,
                                   this};
    // A start that failed is not tried again as the program closes: against a sound server that
    // accepts but does not answer, each try waits seconds for nothing.
    if (closing_ && startFailed_) return false;
    running_ = api_->start(&config) == 0;
    startFailed_ = !running_;
    if (running_)
        qCDebug(musicLog, "playing through %s with the sound font %s",
                output_ == AudioOutput::Pulse ? "PulseAudio" : "ALSA", soundFont_.constData());
    return running_;
}

// The module's lines: any of its threads may call. The same failure met again at the next start
// is not told again.
void SynthHost::moduleSays(void*, int severity, const char* line) {
    if (severity == kTolvexLogDebug)
        qCDebug(musicLog, "%s", line);
    else
        warnFallback(Fallback::Engine, QString::fromUtf8(line),
                     severity == kTolvexLogCritical ? QtCriticalMsg : QtWarningMsg);
}

void SynthHost::report(void (MusicOutput::*signal)()) {
    const auto emitSignal = [this, signal] { emit(this->*signal)(); };
    QMetaObject::invokeMethod(this, emitSignal, Qt::QueuedConnection);
}

}  // namespace tolvex::music
