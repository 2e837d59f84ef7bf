#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "FakeMusic.h"
#include "MediaCommandLayer.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex::testing {

// The window's media-command layer, keeping every command the window sends.
class RecordingLayer final : public music::MediaCommandLayer {
public:
    using MediaCommandLayer::MediaCommandLayer;
    int send(const QString& command) override {
        sent << command;
        return MediaCommandLayer::send(command);
    }
    QStringList sent;
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
    FakeOutput output;
    RecordingLayer media{[this] { return std::make_unique<FakeSequencer>(log); }, output};
    frmTolvex form{media, {temp.path(), false}};
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
