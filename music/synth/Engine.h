#pragma once

#include <fluidsynth.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "ImageLoader.h"

namespace tolvex::synth {

// The synthesizer of the run: settings, synth and sound font, and the players of MIDI files on
// it. An audio thread renders while the module's thread creates, plays, stops and deletes
// players; the library's player is not safe against a render running at the same time, so both
// sides hold one mutex.
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Loads the sound font at `path`, of which only the tune's presets are read (see
    // presetDataWithOnly); a file that cannot give them is read whole, and a warning says why.
    bool loadSoundFont(const char* path);

    fluid_player_t* open(const void* bytes, std::size_t size);
    bool play(fluid_player_t* player);
    void stop(fluid_player_t* player);
    void close(fluid_player_t* player);

    // True from a play() until that player is closed: a new stream then has a tune to carry.
    bool hasTune();
    // True from a play() until the render that carries the tune's first frames.
    bool tuneAboutToBegin();
    // For the audio thread: the next frames as interleaved stereo samples. True when they hold
    // the first frames of a tune that play() started.
    bool renderInterleaved(float* samples, int frames);
    // For the library's own audio drivers: the next frames into their buffers; `tuneBegan` as above.
    int renderBuffers(int frames, int effectCount, float* effects[], int outputCount, float* outputs[],
                      bool& tuneBegan);

    fluid_settings_t* settings() const { return settings_; }
    double sampleRate() const;

private:
    std::mutex mutex_;
    bool tuneBeginning_ = false;  // a tune was started and has not yet been rendered
    bool tunePlayed_ = false;     // a player was played and has not been closed since
    fluid_settings_t* settings_;
    fluid_synth_t* synth_ = nullptr;
    // Destroyed after the destructor has deleted the synthesizer, the last reader of the images.
    std::vector<std::unique_ptr<ImageRegistration>> images_;
};

}  // namespace tolvex::synth
