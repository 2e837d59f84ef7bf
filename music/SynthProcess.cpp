#include "SynthProcess.h"

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "MediaError.h"
#include "SynthModuleApi.h"

namespace tolvex::music {

SynthProcess::SynthProcess(const LaunchedSynth& launched, Reports reports)
    : pid_(launched.pid),
      socket_(launched.socket),
      reports_(std::move(reports)),
      reader_([this] { readReports(); }) {}

SynthProcess::~SynthProcess() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    // The process reads the end of its calls and exits; its end of the socket then closes.
    ::shutdown(socket_, SHUT_WR);
    reader_.join();
    ::close(socket_);
    howItEnded();  // reaps the process, so that it leaves no zombie while the program runs on
}

std::optional<QString> SynthProcess::moduleProblem() {
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [this] { return moduleLoaded_ || gone_; });
    if (!moduleLoaded_) {
        lock.unlock();
        return QStringLiteral("ended the synthesizer's process as it loaded (%1)").arg(howItEnded());
    }
    if (moduleLoaded_->bytes.empty()) return std::nullopt;
    return QString::fromStdString(moduleLoaded_->bytes);
}

int SynthProcess::start(int output) {
    const auto reply = call(wire::Kind::Start, output);
    return reply ? reply->header.value : code(MediaError::NoAudioOutput);
}

std::uint64_t SynthProcess::open(const QByteArray& midiFile) {
    const auto reply = call(wire::Kind::Open, 0, 0, midiFile);
    return reply ? reply->header.player : 0;
}

int SynthProcess::play(std::uint64_t player) {
    const auto reply = call(wire::Kind::Play, 0, player);
    return reply ? reply->header.value : code(MediaError::PlayerFailed);
}

int SynthProcess::stop(std::uint64_t player) {
    const auto reply = call(wire::Kind::Stop, 0, player);
    return reply ? reply->header.value : code(MediaError::PlayerFailed);
}

void SynthProcess::close(std::uint64_t player) { call(wire::Kind::Close, 0, player); }

int SynthProcess::setOutputEnabled(bool enabled) {
    const auto reply = call(wire::Kind::SetOutputEnabled, enabled ? 1 : 0);
    return reply ? reply->header.value : code(MediaError::NoAudioOutput);
}

void SynthProcess::finish() { call(wire::Kind::Finish); }

void SynthProcess::endNow() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    // Once reaped, the process id may be another process's.
    const std::lock_guard lock(reaping_);
    if (!status_) ::kill(pid_, SIGKILL);
}

std::optional<wire::Frame> SynthProcess::call(wire::Kind kind, std::int32_t value, std::uint64_t player,
                                              const QByteArray& bytes) {
    const wire::Header header{.player = player, .value = value, .kind = kind};
    if (!wire::send(socket_, header, bytes.constData(), std::size_t(bytes.size()))) return std::nullopt;
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [this] { return reply_ || gone_; });
    return std::exchange(reply_, std::nullopt);
}

void SynthProcess::readReports() {
    while (std::optional<wire::Frame> frame = wire::receive(socket_)) {
        switch (frame->header.kind) {
            case wire::Kind::Sounding: reports_.sounding(); break;
            case wire::Kind::Log: reports_.log(frame->header.value, frame->bytes); break;
            case wire::Kind::ModuleLoaded:
            case wire::Kind::Reply: {
                const std::lock_guard lock(mutex_);
                (frame->header.kind == wire::Kind::Reply ? reply_ : moduleLoaded_) = std::move(frame);
                answered_.notify_all();
                break;
            }
            default: break;
        }
    }
    bool expected;
    {
        const std::lock_guard lock(mutex_);
        gone_ = true;
        expected = closing_ || !moduleLoaded_;
        answered_.notify_all();
    }
    // An end before the module loaded is told by the module's check.
    if (!expected)
        reports_.log(
            kTolvexLogWarning,
            QStringLiteral("the synthesizer's process ended (%1): no music").arg(howItEnded()).toStdString());
}

QString SynthProcess::howItEnded() {
    const std::lock_guard lock(reaping_);
    if (!status_) {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = status;
    }
    if (WIFSIGNALED(*status_))
        return QStringLiteral("signal %1, %2")
            .arg(WTERMSIG(*status_))
            .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(*status_))));
    return QStringLiteral("exit status %1").arg(WEXITSTATUS(*status_));
}

}  // namespace tolvex::music
