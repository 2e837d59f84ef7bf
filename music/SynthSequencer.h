#pragma once

#include <memory>

#include "MediaCommandLayer.h"
#include "Sequencer.h"
#include "SynthHost.h"

namespace tolvex::music {

// A sequencer device that plays one MIDI file on the synthesizer module of the run. Its
// commands answer at once: the file and the cheap checks decide the open's answer, and the
// host carries out the rest on its music thread.
class SynthSequencer final : public Sequencer {
public:
    explicit SynthSequencer(SynthHost& host) : host_(host) {}
    ~SynthSequencer() override;
    SynthSequencer(const SynthSequencer&) = delete;
    SynthSequencer& operator=(const SynthSequencer&) = delete;

    int open(const QString& path) override;
    int play() override;
    int stop() override;

private:
    SynthHost& host_;
    std::shared_ptr<SynthHost::Player> player_;
};

MediaCommandLayer::SequencerFactory synthSequencers(SynthHost& host);

}  // namespace tolvex::music
