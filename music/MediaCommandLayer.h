#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>

#include "MediaError.h"
#include "MusicOutput.h"
#include "Sequencer.h"

namespace tolvex::music {

// The media-command layer: takes the command strings
//   "open sequencer!<path> alias <alias>"  (the path quoted or not)
//   "play <alias>", "stop <alias>", "close <alias>"
// keeps at most one device per alias, and answers 0 on success or a non-zero MediaError.
// Aliases are case-insensitive. A command on an alias that is not open, an open on an alias
// that is open, and a failed open change nothing. "close" destroys the device, which stops it.
// It is the window's one handle on the music: the output that plays the devices is reached
// through it.
class MediaCommandLayer {
public:
    using SequencerFactory = std::function<std::unique_ptr<Sequencer>()>;

    MediaCommandLayer(SequencerFactory makeSequencer, MusicOutput& output);
    // Virtual, so that a test can see the commands the window sends.
    virtual ~MediaCommandLayer() = default;

    virtual int send(const QString& command);

    MusicOutput& output() const { return output_; }

private:
    int open(const QString& key, const QString& path);

    SequencerFactory makeSequencer_;
    MusicOutput& output_;
    std::map<QString, std::unique_ptr<Sequencer>> devices_;
};

}  // namespace tolvex::music
