#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cerrno>

#include "MediaError.h"
#include "MidiFileCheck.h"
#include "Resources.h"
#include "WindowFixture.h"

using namespace tolvex;
using testing::WindowFixture;

namespace {

// Answers every message box that shows while it lives, noting "title|icon|buttons|text".
struct BoxCatcher : QTimer {
    QStringList boxes;

    BoxCatcher() {
        callOnTimeout([this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                boxes << QStringLiteral("%1|%2|%3|%4")
                             .arg(box->windowTitle())
                             .arg(box->icon())
                             .arg(box->buttons().size())
                             .arg(box->text());
                box->accept();
            }
        });
        start(5);
    }
};

}  // namespace

class WindowMusicTest : public QObject {
    Q_OBJECT
private slots:
    void loadPlaysTheCompiledInTuneFromATemporaryDirectoryWithSpaces() {
        WindowFixture f(false);
        const QString spaced = QDir(f.temp.path()).canonicalPath() + "/my alias dir";
        const QString path = spaced + "/TXmidi.mid";
        QVERIFY(QDir().mkpath(spaced));
        qputenv("TMPDIR", QFile::encodeName(spaced));
        BoxCatcher catcher;
        f.form->Form_Load();
        QCOMPARE(f.form->MidiPath, path);
        QCOMPARE(f.log.calls, (QStringList{"open " + path, "play"}));
        // Read back only when the sequencer's check takes it as a MIDI file it plays.
        QCOMPARE(music::readPlayableMidiFile(path).value_or(QByteArray()),
                 resources::bytesOf(resources::kTune));
        QVERIFY(catcher.boxes.isEmpty());
    }

    void everySixteenthTickStartsTheTuneAgainUntilTheWindowCloses() {
        WindowFixture f;
        const QStringList started{"open " + f.form->MidiPath, "play"};
        const QStringList restarted{"stop", "close", "open " + f.form->MidiPath, "play"};
        for (const QStringList& calls : {started + restarted, started + restarted + restarted}) {
            for (int i = 0; i < 15; ++i)
                f.form->TimerMusic_Timer();
            QCOMPARE(f.log.calls, calls.first(calls.size() - 4));
            f.form->TimerMusic_Timer();
            QCOMPARE(f.form->MusicTicks, std::int16_t(0));
            QCOMPARE(f.log.calls, calls);
        }
        // Were the timer left running, at this pace it would go on counting ticks.
        f.form->TimerMusic.setInterval(1);
        QVERIFY(f.form->close());
        QTest::qWait(50);
        QCOMPARE(f.form->MusicTicks, std::int16_t(0));
        QCOMPARE(f.log.calls, started + restarted + restarted + QStringList({"stop", "close"}));
    }

    void aTuneThatCannotPlayIsReportedOnceARun() {
        WindowFixture f(false);
        f.log.openResult = music::code(music::MediaError::NoAudioOutput);
        BoxCatcher catcher;
        f.form->Form_Load();
        QVERIFY(f.form->TimerMusic.isActive());
        for (int i = 0; i < 32; ++i)
            f.form->TimerMusic_Timer();
        QCOMPARE(catcher.boxes, QStringList{"TolvexApp|0|1|hi"});
        QCOMPARE(f.log.calls.filter(QRegularExpression("^open ")).size(), 3);
    }

    void aTuneFileThatCannotBeWrittenIsReportedAndTheWindowOpensSilent() {
        WindowFixture f(false);
        const QString file = f.temp.filePath("plain-file");
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        qputenv("TMPDIR", QFile::encodeName(file));
        BoxCatcher catcher;
        f.form->Form_Load();
        QCOMPARE(catcher.boxes.size(), 1);
        const QString expected =
            QStringLiteral("TolvexApp|%1|1|%2  ").arg(QMessageBox::Critical).arg(ENOTDIR);
        QVERIFY2(catcher.boxes[0].startsWith(expected) && catcher.boxes[0].contains(file + "/TXmidi.mid"),
                 qPrintable(catcher.boxes[0]));
        QVERIFY(f.form->MidiPath.isEmpty());
        QVERIFY(f.log.calls.isEmpty());
        QVERIFY(!f.form->TimerMusic.isActive());
        QVERIFY(f.form->isVisible());
    }
};

QTEST_MAIN(WindowMusicTest)
#include "tst_window_music.moc"
