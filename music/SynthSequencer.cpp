#include "SynthSequencer.h"

#include "MediaError.h"
#include "MidiFileCheck.h"
#include "MusicLog.h"

namespace tolvex::music {

SynthSequencer::~SynthSequencer() {
    if (player_) host_.close(player_);
}

int SynthSequencer::open(const QString& path) {
    if (player_) return code(MediaError::AliasAlreadyOpen);
    // The checked bytes are what the player gets, so a file replaced after the check cannot
    // slip past it.
    std::optional<QByteArray> bytes = readPlayableMidiFile(path);
    if (!bytes) {
        warnFallback(Fallback::Tune,
                     QStringLiteral("the tune file %1 cannot be played: it is missing, unreadable or not a "
                                    "whole Standard MIDI File")
                         .arg(path));
        return code(MediaError::FileNotPlayable);
    }
    if (const int unavailable = host_.availability()) return unavailable;
    player_ = std::make_shared<SynthHost::Player>();
    host_.open(player_, std::move(*bytes));
    return 0;
}

int SynthSequencer::play() {
    if (!player_) return code(MediaError::AliasNotOpen);
    host_.play(player_);
    return 0;
}

int SynthSequencer::stop() {
    if (!player_) return code(MediaError::AliasNotOpen);
    host_.stop(player_);
    return 0;
}

MediaCommandLayer::SequencerFactory synthSequencers(SynthHost& host) {
    return [&host] { return std::make_unique<SynthSequencer>(host); };
}

}  // namespace tolvex::music
