#pragma once

#include <fluidsynth.h>

#include <memory>

#include "FluidEngine.h"
#include "MediaCommandLayer.h"
#include "Sequencer.h"

namespace tolvex::music {

// A sequencer device that plays one MIDI file on the run's FluidSynth engine. Each device has
// its own player; all devices share the engine's channels, so stopping or closing one
// releases the notes sounding on all of them.
class FluidSequencer final : public Sequencer {
public:
    FluidSequencer() = default;
    ~FluidSequencer() override;
    FluidSequencer(const FluidSequencer&) = delete;
    FluidSequencer& operator=(const FluidSequencer&) = delete;

    // Checks the file, makes the engine if the run has none yet and loads the file into a
    // new player at its start. A device opens one file once.
    int open(const QString& path) override;
    int play() override;
    int stop() override;

    // The playing position in the file's ticks; 0 before open.
    int position() const;

private:
    std::shared_ptr<FluidEngine> engine_;
    fluid_player_t* player_ = nullptr;
};

// Makes FluidSequencer devices for a MediaCommandLayer.
MediaCommandLayer::SequencerFactory fluidSequencerFactory();

// Makes the run's engine (sound font, audio output) ahead of the first open, so that a
// caller can let it load on another thread while it builds its window. The first open waits
// for it and reports its failure as before.
void prepareFluidEngine();

}  // namespace tolvex::music
