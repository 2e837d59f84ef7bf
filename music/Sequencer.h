#pragma once

#include <QString>

namespace tolvex::music {

// One opened MIDI file on a sequencer device. Closing the device destroys it.
class Sequencer {
public:
    virtual ~Sequencer() = default;

    // Opens the file; 0 on success, a MediaError code otherwise.
    virtual int open(const QString& path) = 0;
    // Plays once from the current position, in the background; returns at once.
    virtual int play() = 0;
    virtual int stop() = 0;
};

}  // namespace tolvex::music
