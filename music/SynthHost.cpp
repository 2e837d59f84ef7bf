#include "SynthHost.h"

#include <QFile>
#include <QStringList>

#include <chrono>
#include <cstring>

#include "MediaError.h"
#include "MusicLog.h"
#include "SynthModuleApi.h"

namespace tolvex::music {

namespace {

// Far longer than a healthy finish takes (milliseconds), far shorter than a sound server's
// time-out (5 s).
constexpr std::chrono::seconds kClosingTime{1};

QString fileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace

SynthHost::SynthHost(Settings settings) : settings_(std::move(settings)) {}

SynthHost::~SynthHost() {
    if (!thread_.joinable()) return;
    closing_ = true;
    post([this] {
        if (moduleLoaded_) process_->finish();
    });
    {
        std::unique_lock lock(mutex_);
        quitting_ = true;
        wake_.notify_one();
        if (!drained_.wait_for(lock, kClosingTime, [this] { return stopped_; }) && process_) {
            qCWarning(musicLog,
                      "the synthesizer's process did not finish within %lld s as the program closed: "
                      "it is ended",
                      static_cast<long long>(kClosingTime.count()));
            process_->endNow();
        }
    }
    thread_.join();
}

void SynthHost::begin(const LaunchedSynth& launched) {
    if (thread_.joinable()) return;
    // A program without its module was told of by the program's set-up, which looked for it.
    if (launched.pid > 0)
        process_ = std::make_unique<SynthProcess>(
            launched, SynthProcess::Reports{[this] { report(&MusicOutput::tuneStarted); }, moduleSays});
    else if (!settings_.modulePath.empty())
        whyNoProcess_ = QString::fromLocal8Bit(std::strerror(launched.error));
    thread_ = std::thread([this] { run(); });
}

int SynthHost::availability() {
    if (running_) return 0;
    if (!isSoundFont(settings_.soundFont)) {
        warnFallback(Fallback::SoundFont,
                     QStringLiteral("the sound font %1 cannot be read or is not a SoundFont file: no music")
                         .arg(fileName(settings_.soundFont)));
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
        player->handle = process_->open(bytes);
        if (!player->handle) report(&MusicOutput::failed);
    });
}

void SynthHost::play(const std::shared_ptr<Player>& player) {
    post([this, player] {
        if (player->handle) process_->play(player->handle);
    });
}

void SynthHost::stop(const std::shared_ptr<Player>& player) {
    post([this, player] {
        if (player->handle) process_->stop(player->handle);
    });
}

void SynthHost::close(const std::shared_ptr<Player>& player) {
    post([this, player] {
        if (player->handle) process_->close(player->handle);
        player->handle = 0;
    });
}

void SynthHost::setEnabled(bool enabled) {
    post([this, enabled] {
        outputEnabled_ = enabled;
        if (running_ && process_->setOutputEnabled(enabled) != 0) report(&MusicOutput::failed);
    });
}

void SynthHost::windowShown() {
    {
        const std::lock_guard lock(mutex_);
        shown_ = true;
    }
    wake_.notify_one();
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
            // As the host closes, the commands left are carried out, shown or not.
            wake_.wait(lock, [this] { return quitting_ || (shown_ && !commands_.empty()); });
            if (commands_.empty()) {
                stopped_ = true;
                drained_.notify_all();
                return;
            }
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
    QStringList sockets;
    for (const std::string& socket : pulseServerSockets())
        sockets << fileName(socket);
    const QString noServer =
        QStringLiteral("no PulseAudio server answers (tried %1)").arg(sockets.join(QStringLiteral(", ")));
    warnFallback(Fallback::Output,
                 output ? noServer + QStringLiteral(": the music plays on the sound card through ALSA")
                        : noServer + QStringLiteral(" and /proc/asound/cards lists no sound card: no music"));
    return output;
}

bool SynthHost::loadModule() {
    if (settings_.modulePath.empty()) return false;
    const QString path = fileName(settings_.modulePath);
    const auto broken = [&path](const QString& why) {
        warnFallback(Fallback::Module,
                     QStringLiteral("the synthesizer module %1 %2: no music").arg(path, why));
        return false;
    };
    if (!process_) return broken(QStringLiteral("cannot run: no process for it (%1)").arg(whyNoProcess_));
    if (const std::optional<QString> problem = process_->moduleProblem()) return broken(*problem);
    moduleLoaded_ = true;
    if (!outputEnabled_) process_->setOutputEnabled(false);
    return true;
}

bool SynthHost::ensureStarted() {
    if (!moduleLoaded_ && !moduleBroken_) moduleBroken_ = !loadModule();
    if (!moduleLoaded_) return false;
    // Started once per run: the window's commands all come here, and each start
    // of a running engine would wait on its output again.
    if (running_) return true;
    // A start that failed is not tried again as the program closes: against a sound server that
    // accepts but does not answer, each try waits seconds for nothing.
    if (closing_ && startFailed_) return false;
    const bool pulse = output_ == AudioOutput::Pulse;
    running_ = process_->start(pulse ? kTolvexOutputPulse : kTolvexOutputAlsa) == 0;
    startFailed_ = !running_;
    if (running_)
        qCDebug(musicLog, "playing through %s with the sound font %s", pulse ? "PulseAudio" : "ALSA",
                settings_.soundFont.c_str());
    return running_;
}

// The module's lines, and the process's end, as they arrive. The same failure met again at the
// next start is not told again.
void SynthHost::moduleSays(int severity, const std::string& line) {
    if (severity == kTolvexLogDebug)
        qCDebug(musicLog, "%s", line.c_str());
    else
        warnFallback(Fallback::Engine, QString::fromStdString(line),
                     severity == kTolvexLogCritical ? QtCriticalMsg : QtWarningMsg);
}

void SynthHost::report(void (MusicOutput::*signal)()) {
    const auto emitSignal = [this, signal] { emit(this->*signal)(); };
    QMetaObject::invokeMethod(this, emitSignal, Qt::QueuedConnection);
}

}  // namespace tolvex::music
