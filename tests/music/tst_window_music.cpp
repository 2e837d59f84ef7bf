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

// Answers every message box that shows while it lives, keeping what each one said.
class BoxCatcher {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        qsizetype buttons;
    };

    BoxCatcher()
    {
        timer_.callOnTimeout([this] { answer(); });
        timer_.start(5);
    }

    QList<Box> boxes;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        boxes << Box{box->windowTitle(), box->text(), box->icon(), box->buttons().size()};
        box->accept();
    }

    QTimer timer_;
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tick(frmTolvex& form, int times)
{
    for (int i = 0; i < times; ++i) {
        form.TimerMusic_Timer();
    }
}

}  // namespace

class WindowMusicTest : public QObject {
    Q_OBJECT
private slots:
    void loadPlaysTheCompiledInTuneFromItsFile();
    void everySixteenthTickStartsTheTuneAgain();
    void aTuneThatCannotPlayIsReportedOnceARun();
    void aTuneFileThatCannotBeWrittenIsReportedAndTheWindowOpensSilent();
    void aTemporaryDirectoryWithSpacesPlays();
};

void WindowMusicTest::loadPlaysTheCompiledInTuneFromItsFile()
{
    BoxCatcher catcher;
    WindowFixture f;

    QCOMPARE(f.form->MidiPath, QDir(f.temp.path()).canonicalPath() + "/TXmidi.mid");
    const QByteArray tune = resources::bytesOf(resources::kTune);
    QVERIFY(!tune.isEmpty());
    QCOMPARE(contents(f.form->MidiPath), tune);
    QVERIFY2(music::isPlayableMidi(tune), "the compiled-in tune is no MIDI file the sequencer plays");
    QCOMPARE(f.log.calls, (QStringList{"open " + f.form->MidiPath, "play"}));
    QVERIFY(f.form->TimerMusic.isActive());
    QCOMPARE(f.form->TimerMusic.interval(), 19359);
    QVERIFY(catcher.boxes.isEmpty());
}

void WindowMusicTest::everySixteenthTickStartsTheTuneAgain()
{
    WindowFixture f;
    const QStringList started{"open " + f.form->MidiPath, "play"};
    const QStringList restarted{"stop", "close", "open " + f.form->MidiPath, "play"};

    tick(*f.form, 15);
    QCOMPARE(f.form->MusicTicks, std::int16_t(15));
    QCOMPARE(f.log.calls, started);

    tick(*f.form, 1);
    QCOMPARE(f.form->MusicTicks, std::int16_t(0));
    QCOMPARE(f.log.calls, started + restarted);

    tick(*f.form, 15);
    QCOMPARE(f.log.calls.size(), 6);
    tick(*f.form, 1);
    QCOMPARE(f.form->MusicTicks, std::int16_t(0));
    QCOMPARE(f.log.calls, started + restarted + restarted);
}

void WindowMusicTest::aTuneThatCannotPlayIsReportedOnceARun()
{
    WindowFixture f(false);
    f.log.openResult = music::code(music::MediaError::NoAudioOutput);
    BoxCatcher catcher;

    f.form->Form_Load();
    QCOMPARE(catcher.boxes.size(), 1);
    const BoxCatcher::Box box = catcher.boxes.first();
    QCOMPARE(box.title, "TolvexApp");
    QCOMPARE(box.text, "hi");
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, 1);
    QVERIFY(f.form->TimerMusic.isActive());

    tick(*f.form, 32);
    QCOMPARE(catcher.boxes.size(), 1);
    QCOMPARE(f.log.calls.filter(QRegularExpression("^open ")).size(), 3);
}

void WindowMusicTest::aTuneFileThatCannotBeWrittenIsReportedAndTheWindowOpensSilent()
{
    WindowFixture f(false);
    const QString notADirectory = f.temp.filePath("plain-file");
    QFile file(notADirectory);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("TMPDIR", QFile::encodeName(notADirectory));
    BoxCatcher catcher;

    f.form->Form_Load();
    QCOMPARE(catcher.boxes.size(), 1);
    const BoxCatcher::Box box = catcher.boxes.first();
    QCOMPARE(box.title, "TolvexApp");
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, 1);
    QVERIFY2(box.text.startsWith(QString::number(ENOTDIR) + "  "), qPrintable(box.text));
    QVERIFY2(box.text.contains(notADirectory + "/TXmidi.mid"), qPrintable(box.text));

    QVERIFY(f.form->MidiPath.isEmpty());
    QVERIFY(f.log.calls.isEmpty());
    QVERIFY(!f.form->TimerMusic.isActive());
    QVERIFY(f.form->isVisible());
}

void WindowMusicTest::aTemporaryDirectoryWithSpacesPlays()
{
    WindowFixture f(false);
    const QString spaced = QDir(f.temp.path()).canonicalPath() + "/my alias dir";
    QVERIFY(QDir().mkpath(spaced));
    qputenv("TMPDIR", QFile::encodeName(spaced));
    BoxCatcher catcher;

    f.form->Form_Load();
    QCOMPARE(f.form->MidiPath, spaced + "/TXmidi.mid");
    QCOMPARE(f.log.calls, (QStringList{"open " + spaced + "/TXmidi.mid", "play"}));
    QCOMPARE(contents(f.form->MidiPath), resources::bytesOf(resources::kTune));
    QVERIFY(catcher.boxes.isEmpty());
}

QTEST_MAIN(WindowMusicTest)
#include "tst_window_music.moc"
