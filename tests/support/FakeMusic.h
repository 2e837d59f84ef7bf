#pragma once

#include <QStringList>

#include "MusicOutput.h"
#include "Sequencer.h"

namespace tolvex::testing {

// What the fake sequencers were asked to do, in order ("open <path>", "play", "stop", "close").
struct SequencerLog {
    QStringList calls;
    int openResult = 0;
};

class FakeSequencer final : public music::Sequencer {
public:
    explicit FakeSequencer(SequencerLog& log) : log_(log) {}
    ~FakeSequencer() override { log_.calls << QStringLiteral("close"); }
    int open(const QString& path) override {
        log_.calls << QStringLiteral("open ") + path;
        return log_.openResult;
    }
    int play() override { return record(QStringLiteral("play")); }
    int stop() override { return record(QStringLiteral("stop")); }

private:
    int record(const QString& call) {
        log_.calls << call;
        return 0;
    }
    SequencerLog& log_;
};

class FakeOutput final : public music::MusicOutput {
public:
    QList<bool> switched;
    void setEnabled(bool enabled) override { switched << enabled; }
};

}  // namespace tolvex::testing
