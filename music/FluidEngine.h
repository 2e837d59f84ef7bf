#pragma once

#include <fluidsynth.h>

#include <memory>
#include <mutex>

#include "MediaError.h"

namespace tolvex::music {

// The synthesizer of the whole run: settings, synth, the default sound font and the audio
// driver. The first successful acquire makes it and it stays until the end of the run, so
// restarting the music never waits for the sound server again.
//
// The audio thread renders under mutex(); whoever creates, plays, stops or deletes a player
// of this synth holds the same mutex, because the library's player is not safe against a
// render running at the same time.
class FluidEngine {
public:
    struct Acquired {
        std::shared_ptr<FluidEngine> engine;
        MediaError error = MediaError::NoAudioOutput;
    };

    // The engine of the run, made (or, after a failed output, completed) by this call when
    // needed. Without an engine, error says why: no sound font, or no audio output.
    static Acquired acquire();

    ~FluidEngine();
    FluidEngine(const FluidEngine&) = delete;
    FluidEngine& operator=(const FluidEngine&) = delete;

    fluid_synth_t* synth() const { return synth_; }
    std::mutex& mutex() { return mutex_; }

private:
    FluidEngine() = default;

    bool makeSynth();
    bool startOutput();
    static int render(void* engine, int frames, int effectCount, float* effects[], int outputCount,
                      float* outputs[]);

    std::mutex mutex_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
};

}  // namespace tolvex::music
