#pragma once

#include <QString>
#include <QStringList>

#include <memory>

#include "MediaCommandLayer.h"
#include "Sequencer.h"

namespace tolvex::testing {

// What a fake sequencer was asked to do, in order ("open <path>", "play", "stop", "close"),
// and whether its opens succeed.
struct SequencerLog {
    QStringList calls;
    int openResult = 0;
};

class FakeSequencer : public music::Sequencer {
public:
    explicit FakeSequencer(SequencerLog& log) : log_(log) {}
    ~FakeSequencer() override { log_.calls << QStringLiteral("close"); }

    int open(const QString& path) override {
        log_.calls << QStringLiteral("open ") + path;
        return log_.openResult;
    }
    int play() override {
        log_.calls << QStringLiteral("play");
        return 0;
    }
    int stop() override {
        log_.calls << QStringLiteral("stop");
        return 0;
    }

private:
    SequencerLog& log_;
};

inline music::MediaCommandLayer::SequencerFactory fakeSequencers(SequencerLog& log) {
    return [&log] { return std::make_unique<FakeSequencer>(log); };
}

}  // namespace tolvex::testing
