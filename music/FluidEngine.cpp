#include "FluidEngine.h"

#include "EngineLog.h"

#include <array>

namespace tolvex::music {

namespace {

// Tried in this order. Never jack (it may start a server of its own), file, oss or sdl2.
constexpr std::array kDrivers{"pulseaudio", "alsa"};
// Background music needs no low latency, and the period decides the CPU: measured through
// PulseAudio, the program takes about 25% of a core at 64 frames and 4% at 1024.
constexpr int kPeriodSize = 1024;
constexpr int kPeriods = 4;
// Measured on the tune: RMS 0.09 and peaks of 0.77 (the library's default of 0.2 is quiet);
// from about 0.52 the peaks reach full scale and clip.
constexpr double kGain = 0.4;

}  // namespace

FluidEngine::Acquired FluidEngine::acquire() {
    static std::mutex acquireMutex;
    // Destroyed at exit after every device holding the engine is gone: the driver stops its
    // thread before the synth goes.
    static std::shared_ptr<FluidEngine> engine;

    const std::lock_guard lock(acquireMutex);
    if (!engine) {
        quietEngineLogs();
        std::shared_ptr<FluidEngine> made(new FluidEngine);
        if (!made->makeSynth()) {
            return {nullptr, MediaError::NoSoundFont};
        }
        engine = std::move(made);
    }
    if (engine->driver_ == nullptr && !engine->startOutput()) {
        return {nullptr, MediaError::NoAudioOutput};
    }
    return {engine, MediaError::NoAudioOutput};
}

FluidEngine::~FluidEngine() {
    delete_fluid_audio_driver(driver_);
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

bool FluidEngine::makeSynth() {
    settings_ = new_fluid_settings();
    if (settings_ == nullptr) {
        return false;
    }
    // The player must advance inside the render callback, under the mutex, not on a timer
    // thread of its own.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "audio.period-size", kPeriodSize);
    fluid_settings_setint(settings_, "audio.periods", kPeriods);
    // A media role makes the pulseaudio driver call setenv, which is unsafe while other
    // threads of the program may read the environment.
    fluid_settings_setstr(settings_, "audio.pulseaudio.media-role", "");
    fluid_settings_setnum(settings_, "synth.gain", kGain);

    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) {
        return false;
    }
    char* soundFont = nullptr;
    if (fluid_settings_dupstr(settings_, "synth.default-soundfont", &soundFont) != FLUID_OK ||
        soundFont == nullptr) {
        return false;
    }
    const int loaded = fluid_synth_sfload(synth_, soundFont, 1);
    fluid_free(soundFont);
    return loaded != FLUID_FAILED;
}

bool FluidEngine::startOutput() {
    for (const char* driver : kDrivers) {
        fluid_settings_setstr(settings_, "audio.driver", driver);
        driver_ = new_fluid_audio_driver2(settings_, render, this);
        if (driver_ != nullptr) {
            return true;
        }
    }
    return false;
}

int FluidEngine::render(void* engine, int frames, int effectCount, float* effects[], int outputCount,
                        float* outputs[]) {
    auto* self = static_cast<FluidEngine*>(engine);
    const std::lock_guard lock(self->mutex_);
    if (effectCount > 0) {
        return fluid_synth_process(self->synth_, frames, effectCount, effects, outputCount, outputs);
    }
    // The driver gives no separate effect buffers: reverb and chorus are mixed into the
    // output (left and right of each).
    std::array<float*, 4> mixed{outputs[0], outputs[1], outputs[0], outputs[1]};
    return fluid_synth_process(self->synth_, frames, static_cast<int>(mixed.size()), mixed.data(),
                               outputCount, outputs);
}

}  // namespace tolvex::music
