#include "Engine.h"

#include <array>
#include <string>
#include <utility>

#include "EngineLog.h"

namespace tolvex::synth {

namespace {

// From resources/music/tune.conf, where the reasons for them are written.
constexpr double kGain = TOLVEX_GAIN;
constexpr int kPolyphony = TOLVEX_POLYPHONY;
// All the tune needs of the sound font.
constexpr SoundFontPreset kTunePresets[] = {TOLVEX_TUNE_PRESETS};

}  // namespace

Engine::Engine() : settings_(new_fluid_settings()) {
    // The player advances inside the render, under the mutex, not on a timer thread of its own.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setnum(settings_, "synth.gain", kGain);
    fluid_settings_setint(settings_, "synth.polyphony", kPolyphony);
    // Only the instruments the tune selects are read from the sound font (measured: 6 MB less).
    // They are selected at the tune's first tick, before its first note, and read in about a
    // millisecond, well within one render.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    synth_ = new_fluid_synth(settings_);
}

Engine::~Engine() {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

double Engine::sampleRate() const {
    double rate = 44100;
    fluid_settings_getnum(settings_, "synth.sample-rate", &rate);
    return rate;
}

bool Engine::loadSoundFont(const char* path) {
    if (!synth_) return false;
    std::string why;
    if (std::unique_ptr<SoundFontImage> image = SoundFontImage::make(path, kTunePresets, why)) {
        if (images_.empty()) fluid_synth_add_sfloader(synth_, newImageLoader(settings_));
        images_.push_back(std::make_unique<ImageRegistration>(path, std::move(image)));
    } else if (!why.empty()) {
        say(kTolvexLogWarning, std::string("the sound font ") + path + " is read whole: " + why);
    }
    // The channels take their first presets now: a tune's start does not select them again, and
    // the drums have no program change of their own. Channels whose piano the tune does not read
    // are left without a preset (a debug line each); the tune plays no note on them.
    return fluid_synth_sfload(synth_, path, 1) != FLUID_FAILED;
}

fluid_player_t* Engine::open(const void* bytes, std::size_t size) {
    const std::lock_guard lock(mutex_);
    fluid_player_t* player = new_fluid_player(synth_);
    if (player && fluid_player_add_mem(player, bytes, size) != FLUID_OK) {
        delete_fluid_player(player);
        return nullptr;
    }
    return player;
}

bool Engine::play(fluid_player_t* player) {
    const std::lock_guard lock(mutex_);
    const bool playing = fluid_player_play(player) == FLUID_OK;
    tuneBeginning_ = tuneBeginning_ || playing;
    tunePlayed_ = tunePlayed_ || playing;
    return playing;
}

void Engine::stop(fluid_player_t* player) {
    const std::lock_guard lock(mutex_);
    fluid_player_stop(player);
}

void Engine::close(fluid_player_t* player) {
    const std::lock_guard lock(mutex_);
    fluid_player_stop(player);
    delete_fluid_player(player);
    // A deleted player can no longer release its notes: without this they would sound on.
    fluid_synth_all_notes_off(synth_, -1);
    tunePlayed_ = false;
}

bool Engine::hasTune() {
    const std::lock_guard lock(mutex_);
    return tunePlayed_;
}

bool Engine::tuneAboutToBegin() {
    const std::lock_guard lock(mutex_);
    return tuneBeginning_;
}

bool Engine::renderInterleaved(float* samples, int frames) {
    const std::lock_guard lock(mutex_);
    fluid_synth_write_float(synth_, frames, samples, 0, 2, samples, 1, 2);
    return std::exchange(tuneBeginning_, false);
}

int Engine::renderBuffers(int frames, int effectCount, float* effects[], int outputCount, float* outputs[],
                          bool& tuneBegan) {
    const std::lock_guard lock(mutex_);
    tuneBegan = std::exchange(tuneBeginning_, false);
    if (effectCount > 0)
        return fluid_synth_process(synth_, frames, effectCount, effects, outputCount, outputs);
    // The driver gives no separate effect buffers: reverb and chorus are mixed into the output
    // (left and right of each).
    std::array<float*, 4> mixed{outputs[0], outputs[1], outputs[0], outputs[1]};
    return fluid_synth_process(synth_, frames, int(mixed.size()), mixed.data(), outputCount, outputs);
}

}  // namespace tolvex::synth
