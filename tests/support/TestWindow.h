#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "MediaCommandLayer.h"
#include "MusicOutput.h"
#include "Sequencer.h"
#include "Units.h"
#include "frmTolvex.h"

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

// The window on fake sequencers, loaded and shown, with a temporary folder of its own for the
// tune file.
struct TestWindow {
    TestWindow() {
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    // A point of the window in twips, as the design measures it.
    static QPoint at(int leftTwips, int topTwips) {
        return {units::pixels(leftTwips), units::pixels(topTwips)};
    }

    QTemporaryDir temp{QDir::tempPath() + QStringLiteral("/tolvex-test-XXXXXX")};
    SequencerLog log;
    music::MediaCommandLayer media{[this] { return std::make_unique<FakeSequencer>(log); }};
    FakeOutput output;
    frmTolvex form{media, output, {temp.path(), false}};
};

// Answers every message box that opens while it lives (with the button `answer` picks, or
// OK), and keeps the boxes' texts. Its timer dies with it, so it cannot answer a later test's box.
class BoxCatcher {
public:
    explicit BoxCatcher(std::function<QAbstractButton*(QMessageBox&)> answer = {})
        : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            texts << box->text();
            QAbstractButton* button = answer_ ? answer_(*box) : nullptr;
            if (button)
                button->click();
            else
                box->accept();
        });
        poll_.start(10);
    }

    QStringList texts;

private:
    std::function<QAbstractButton*(QMessageBox&)> answer_;
    QTimer poll_;
};

}  // namespace tolvex::testing
