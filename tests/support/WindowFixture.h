#pragma once

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "FakeSequencer.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex::testing {

// The temporary directory the test process started with; each fixture points TMPDIR at a
// folder of its own inside it, which goes away with the fixture.
inline const QString& processTempPath() {
    static const QString path = QDir::tempPath();
    return path;
}

// The window on a fake sequencer, with its own temporary directory for the music file.
class WindowFixture {
public:
    explicit WindowFixture(bool load = true) {
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        QApplication::setApplicationName(QStringLiteral("TolvexApp"));
        form = std::make_unique<frmTolvex>(media);
        if (load) form->Form_Load();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    // A point of the window given in twips, as the design measures it.
    static QPoint at(int leftTwips, int topTwips) {
        return {units::pixels(leftTwips), units::pixels(topTwips)};
    }

    QTemporaryDir temp{processTempPath() + QStringLiteral("/tolvex-test-XXXXXX")};
    SequencerLog log;
    music::MediaCommandLayer media{fakeSequencers(log)};
    std::unique_ptr<frmTolvex> form;
};

// Answers the next message box with OK once it shows, and hands back its text and title.
struct MessageBoxWatch {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;

    void expectOne() {
        QTimer::singleShot(0, [this] { poll(500); });
    }

private:
    void poll(int attemptsLeft) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (attemptsLeft > 0) QTimer::singleShot(10, [this, attemptsLeft] { poll(attemptsLeft - 1); });
            return;
        }
        seen = true;
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        box->accept();
    }
};

}  // namespace tolvex::testing
