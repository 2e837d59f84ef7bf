#include "FluidSequencer.h"

#include "MidiFileCheck.h"

#include <mutex>
#include <optional>

namespace tolvex::music {

FluidSequencer::~FluidSequencer() {
    if (player_ == nullptr) {
        return;
    }
    const std::lock_guard lock(engine_->mutex());
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    // The deleted player can no longer release its notes: without this they would sound on.
    fluid_synth_all_notes_off(engine_->synth(), -1);
}

int FluidSequencer::open(const QString& path) {
    if (player_ != nullptr) {
        return code(MediaError::AliasAlreadyOpen);
    }
    // The checked bytes are what the player gets, so a file replaced after the check cannot
    // slip past it.
    const std::optional<QByteArray> bytes = readPlayableMidiFile(path);
    if (!bytes) {
        return code(MediaError::FileNotPlayable);
    }
    FluidEngine::Acquired acquired = FluidEngine::acquire();
    if (!acquired.engine) {
        return code(acquired.error);
    }

    const std::lock_guard lock(acquired.engine->mutex());
    fluid_player_t* player = new_fluid_player(acquired.engine->synth());
    if (player == nullptr) {
        return code(MediaError::NoAudioOutput);
    }
    if (fluid_player_add_mem(player, bytes->constData(), static_cast<std::size_t>(bytes->size())) !=
        FLUID_OK) {
        delete_fluid_player(player);
        return code(MediaError::FileNotPlayable);
    }
    engine_ = std::move(acquired.engine);
    player_ = player;
    return 0;
}

int FluidSequencer::play() {
    if (player_ == nullptr) {
        return code(MediaError::AliasNotOpen);
    }
    const std::lock_guard lock(engine_->mutex());
    return fluid_player_play(player_) == FLUID_OK ? 0 : code(MediaError::NoAudioOutput);
}

int FluidSequencer::stop() {
    if (player_ == nullptr) {
        return code(MediaError::AliasNotOpen);
    }
    const std::lock_guard lock(engine_->mutex());
    fluid_player_stop(player_);
    return 0;
}

int FluidSequencer::position() const {
    if (player_ == nullptr) {
        return 0;
    }
    const std::lock_guard lock(engine_->mutex());
    return fluid_player_get_current_tick(player_);
}

MediaCommandLayer::SequencerFactory fluidSequencerFactory() {
    return [] { return std::make_unique<FluidSequencer>(); };
}

void prepareFluidEngine() { FluidEngine::acquire(); }

}  // namespace tolvex::music
