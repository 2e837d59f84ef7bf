#include <pulse/pulseaudio.h>

#include <string>
#include <utility>

#include "Engine.h"
#include "EngineLog.h"
#include "Output.h"

namespace tolvex::synth {

namespace {

constexpr std::uint32_t kChannels = 2;
constexpr std::uint32_t kFrameBytes = kChannels * sizeof(float);
// Background music needs no low latency, and larger requests wake the thread less often: the
// server asks for about 46 ms at a time and holds about 186 ms (measured on the null sink: 21
// wakeups a second, against 32 at half of each). The first tune is written before the stream
// starts, so the buffer's length adds nothing to the wait for it.
constexpr std::uint32_t kRequestFrames = 2048;
constexpr std::uint32_t kBufferFrames = 8192;
constexpr pa_usec_t kStartTimeout = 5 * PA_USEC_PER_SEC;
constexpr pa_usec_t kRetryInterval = PA_USEC_PER_SEC;

// The music's stream on the sound server, rendered by the engine on the connection's thread.
// Its names (the program's name and icon, the media role "music") are given through the
// library's property lists, so that no environment variable is set while threads run. When
// the server goes away, the output tries again every second until it is back; nobody waits.
//
// A new stream may wait a while (measured: 1.8 s on a fresh null sink) before the server starts
// playing it; a tune rendered before that is announced only once the stream has started.
class PulseOutput final : public Output {
public:
    PulseOutput(Engine& engine, StreamNames names, TuneSounding tuneSounding)
        : engine_(engine),
          names_(std::move(names)),
          tuneSounding_(std::move(tuneSounding)),
          loop_(pa_threaded_mainloop_new()) {}

    ~PulseOutput() override {
        if (!loop_) return;
        pa_threaded_mainloop_lock(loop_);
        cancelTimer();
        drop();
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }

    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Starts connecting and returns at once. A first connection that fails or times out ends
    // the output (waitUntilOpen() tells), unless `keepTrying`: then it is tried again every
    // second until the server answers, as a lost connection is.
    bool connectInBackground(bool keepTrying) {
        if (!loop_) return false;
        // Set up before the loop's thread runs, so that none of it needs the loop's lock.
        state_ = keepTrying ? State::Lost : State::Starting;
        connect();
        if (state_ == State::Starting) armTimer(kStartTimeout);
        return pa_threaded_mainloop_start(loop_) >= 0;
    }

    bool waitUntilOpen() override {
        pa_threaded_mainloop_lock(loop_);
        while (state_ == State::Starting)
            pa_threaded_mainloop_wait(loop_);
        const bool open = state_ != State::Failed;
        pa_threaded_mainloop_unlock(loop_);
        return open;
    }

    // A stream waits for the first tune with nothing written (written silence would play
    // ahead of it); its tune now plays, so the server's pending request is filled at once. A
    // flowing stream drops what it holds, so that the server asks at once for the tune played
    // again; had a render carried its start already, that render dropped it (write()).
    void tunePlayed() override {
        pa_threaded_mainloop_lock(loop_);
        if (stream_ && pa_stream_get_state(stream_) == PA_STREAM_READY) {
            if (!flowing_)
                write(pa_stream_writable_size(stream_));
            else if (engine_.tuneAboutToBegin())
                flush();
        }
        pa_threaded_mainloop_unlock(loop_);
    }

private:
    enum class State { Starting, Playing, Failed, Lost };

    pa_mainloop_api* api() const { return pa_threaded_mainloop_get_api(loop_); }

    void connect() {
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, names_.application.c_str());
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, names_.iconName.c_str());
        context_ = pa_context_new_with_proplist(api(), names_.application.c_str(), properties);
        pa_proplist_free(properties);
        pa_context_set_state_callback(context_, onContextState, this);
        // Never start a server of our own: the desktop's is the one its mixer controls.
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) fail();
    }

    void openStream() {
        const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, std::uint32_t(engine_.sampleRate()), kChannels};
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
        pa_proplist_sets(properties, PA_PROP_MEDIA_ICON_NAME, names_.iconName.c_str());
        stream_ =
            pa_stream_new_with_proplist(context_, names_.application.c_str(), &format, nullptr, properties);
        pa_proplist_free(properties);
        if (!stream_) return fail();
        pa_stream_set_state_callback(stream_, onStreamState, this);
        pa_stream_set_write_callback(stream_, onWrite, this);
        pa_stream_set_started_callback(stream_, onStarted, this);
        streamStarted_ = false;
        flowing_ = false;
        const std::uint32_t unset = std::uint32_t(-1);
        const pa_buffer_attr buffer{unset, kBufferFrames * kFrameBytes, unset, kRequestFrames * kFrameBytes,
                                    unset};
        if (pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0)
            fail();
    }

    void drop() {
        if (stream_) {
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_set_write_callback(stream_, nullptr, nullptr);
            pa_stream_set_started_callback(stream_, nullptr, nullptr);
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
            stream_ = nullptr;
        }
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
            context_ = nullptr;
        }
    }

    // The connection failed: while starting, waitUntilOpen() reports it, and the output stays
    // failed; later, the output waits a second and connects again, as often as it takes, and
    // says so once. A connection refused at once fails twice (its state callback, then the
    // connect call).
    void fail() {
        if (state_ == State::Failed) return;
        const std::string why = context_ ? pa_strerror(pa_context_errno(context_)) : "no connection";
        if (state_ == State::Starting) {
            say(kTolvexLogWarning, "the PulseAudio server did not open the music's stream: " + why);
            cancelTimer();
            state_ = State::Failed;
            pa_threaded_mainloop_signal(loop_, 0);
            return;
        }
        if (!std::exchange(lossTold_, true))
            say(kTolvexLogWarning, "the sound server does not carry the music's stream (" + why +
                                       "): connecting again every second");
        state_ = State::Lost;
        drop();
        armTimer(kRetryInterval);
    }

    void armTimer(pa_usec_t delay) {
        cancelTimer();
        timeval when{};
        pa_timeval_add(pa_gettimeofday(&when), delay);
        timer_ = api()->time_new(api(), &when, onTimer, this);
    }

    void cancelTimer() {
        if (timer_) api()->time_free(timer_);
        timer_ = nullptr;
    }

    static void onContextState(pa_context* context, void* self) {
        auto* output = static_cast<PulseOutput*>(self);
        switch (pa_context_get_state(context)) {
            case PA_CONTEXT_READY: output->openStream(); break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED: output->fail(); break;
            default: break;
        }
    }

    static void onStreamState(pa_stream* stream, void* self) {
        auto* output = static_cast<PulseOutput*>(self);
        switch (pa_stream_get_state(stream)) {
            case PA_STREAM_READY:
                output->cancelTimer();  // the start's time limit
                output->state_ = State::Playing;
                if (std::exchange(output->lossTold_, false))
                    say(kTolvexLogWarning, "the sound server answers again: the music's stream is back");
                pa_threaded_mainloop_signal(output->loop_, 0);
                break;
            case PA_STREAM_FAILED: output->fail(); break;
            default: break;
        }
    }

    static void onWrite(pa_stream*, std::size_t requested, void* self) {
        static_cast<PulseOutput*>(self)->write(requested);
    }

    // Nothing is written until a tune has been played (tunePlayed() then writes); from then on
    // the stream flows, silence after the tune included.
    void write(std::size_t requested) {
        if (!flowing_ && !engine_.hasTune()) return;
        const bool restart = std::exchange(flowing_, true);
        void* data = nullptr;
        std::size_t size = requested;
        if (pa_stream_begin_write(stream_, &data, &size) < 0 || !data) return;
        const std::size_t frames = size / kFrameBytes;
        const bool tuneBegan = engine_.renderInterleaved(static_cast<float*>(data), int(frames));
        // A tune played again on a flowing stream: what the stream still holds (the end of the
        // tune before, or silence) goes, or it would be heard first and every loop would start
        // a fifth of a second late.
        if (tuneBegan && restart) flush();
        pa_stream_write(stream_, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        if (!tuneBegan) return;
        if (streamStarted_)
            tuneSounding_();
        else
            tuneWaiting_ = true;
    }

    void flush() {
        if (pa_operation* flushing = pa_stream_flush(stream_, nullptr, nullptr)) pa_operation_unref(flushing);
    }

    static void onStarted(pa_stream*, void* self) {
        auto* output = static_cast<PulseOutput*>(self);
        output->streamStarted_ = true;
        if (std::exchange(output->tuneWaiting_, false)) output->tuneSounding_();
    }

    static void onTimer(pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
        auto* output = static_cast<PulseOutput*>(self);
        output->cancelTimer();
        if (output->state_ == State::Starting) {
            say(kTolvexLogWarning, "the PulseAudio server did not open the music's stream within " +
                                       std::to_string(kStartTimeout / PA_USEC_PER_SEC) + " s");
            output->state_ = State::Failed;
            pa_threaded_mainloop_signal(output->loop_, 0);
        } else if (output->state_ == State::Lost) {
            output->connect();
        }
    }

    Engine& engine_;
    StreamNames names_;
    TuneSounding tuneSounding_;
    pa_threaded_mainloop* loop_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* timer_ = nullptr;
    State state_ = State::Starting;
    bool streamStarted_ = false;  // the server has begun to play the stream
    bool tuneWaiting_ = false;    // a tune is in the stream, waiting for it to start
    bool flowing_ = false;        // the stream has been written to
    bool lossTold_ = false;       // the stream's loss was logged, and its return is not yet
};

}  // namespace

std::unique_ptr<Output> openPulseOutput(Engine& engine, const StreamNames& names, TuneSounding tuneSounding,
                                        PulseStart start) {
    auto output = std::make_unique<PulseOutput>(engine, names, std::move(tuneSounding));
    if (!output->connectInBackground(start == PulseStart::KeepTrying)) return nullptr;
    return output;
}

}  // namespace tolvex::synth
