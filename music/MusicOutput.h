#pragma once

#include <QObject>

namespace tolvex::music {

// The sound side of the music, beside its media commands: what the window hears back from it,
// and the switch that turns the music's output off and on.
class MusicOutput : public QObject {
    Q_OBJECT
public:
    // Off: the output closes, so that the music costs nothing; on: it opens again.
    virtual void setEnabled(bool enabled) = 0;

signals:
    // The music could not play after all, for a reason found after its open command had answered.
    void failed();
    // A play command's tune began to sound: its first frames went out to be heard.
    void tuneStarted();
};

}  // namespace tolvex::music
