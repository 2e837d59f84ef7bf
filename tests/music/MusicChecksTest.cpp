#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "AudioCheck.h"
#include "MidiFileCheck.h"
#include "Resources.h"
#include "SynthHost.h"
#include "TuneFile.h"

using namespace tolvex;

// What the music checks before anything plays, the tune file it writes, and the host's answer
// when its synthesizer module cannot be loaded.
class MusicChecksTest : public QObject {
    Q_OBJECT
    const QByteArray tune = resources::bytesOf(resources::kTune);

private slots:
    void onlyAWholeMidiFileIsPlayable() {
        QVERIFY(music::isPlayableMidi(tune));
        QVERIFY(!music::isPlayableMidi(tune.first(tune.size() - 40)));
        QVERIFY(!music::isPlayableMidi(tune + "x"));
        QVERIFY(!music::isPlayableMidi(QByteArray("MThd") + QByteArray(10, '\1')));
        QVERIFY(!music::isPlayableMidi({}));
    }
    void theTuneFileIsWrittenWholeAndNotThroughALink() {
        QTemporaryDir folder;
        const QString directory = folder.path() + '/', path = directory + "TXmidi.mid";
        QFile other(folder.filePath("other"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(QByteArray(100000, 'x'));
        other.close();
        QVERIFY(QFile::link(other.fileName(), path));
        QCOMPARE(music::writeTuneFile(directory, tune).error, 0);
        QCOMPARE(QFileInfo(other.fileName()).size(), 100000);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), tune);
    }
    void theTuneGoesToTheUsersOwnTemporaryFolder() {
        const QByteArray tmpdir = qgetenv("TMPDIR"), runtime = qgetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] {
            for (const auto& [name, value] :
                 {std::pair("TMPDIR", tmpdir), std::pair("XDG_RUNTIME_DIR", runtime)})
                value.isNull() ? qunsetenv(name) : qputenv(name, value);
        });
        qputenv("TMPDIR", "/home/a/tmp");
        qputenv("XDG_RUNTIME_DIR", "/run/user/1000/");
        QCOMPARE(music::tuneDirectory(), QString("/home/a/tmp/"));
        qunsetenv("TMPDIR");
        QCOMPARE(music::tuneDirectory(), QString("/run/user/1000/"));
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(music::tuneDirectory(), QString("/tmp/"));
    }
    void noTuneOrNoFolderIsAFailureThatNamesTheFile() {
        QTemporaryDir folder;
        const music::TuneWriteResult empty = music::writeTuneFile(folder.path() + '/', {});
        QCOMPARE(empty.error, ENODATA);
        QVERIFY(!QFile::exists(folder.filePath("TXmidi.mid")));
        const music::TuneWriteResult missing = music::writeTuneFile(folder.path() + "/missing/", tune);
        QCOMPARE(missing.error, ENOENT);
        QVERIFY(missing.description.contains(folder.path() + "/missing/TXmidi.mid"));
    }
    void theSoundFontIsCheckedByItsHeader() {
        QVERIFY(music::isSoundFont(TOLVEX_SOUND_FONT));
        QTemporaryDir folder;
        QFile midi(folder.filePath("tune.sf2"));
        QVERIFY(midi.open(QIODevice::WriteOnly));
        midi.write(tune);
        midi.close();
        QVERIFY(!music::isSoundFont(midi.fileName()));
        QVERIFY(!music::isSoundFont(folder.filePath("missing.sf2")));
    }
    void theSoundServerAnswersWhenItsSocketAccepts() {
        QTemporaryDir folder;
        const QByteArray path = QFile::encodeName(folder.filePath("native"));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.constData());
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                ::listen(server, 1) == 0);
        qputenv("PULSE_SERVER", "unix:" + path);
        QCOMPARE(music::answeringOutput(), std::optional(music::AudioOutput::Pulse));
        ::close(server);
        QFile cards("/proc/asound/cards");
        if (cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards"))
            QSKIP("this machine has a sound card, which ALSA would play on");
        QCOMPARE(music::answeringOutput(), std::nullopt);
    }
    void aModuleThatCannotBeLoadedIsReportedAsAFailure_data() {
        QTest::addColumn<QByteArray>("moduleBytes");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a library") << QByteArray(
            "\x7f"
            "ELF but not really");
    }
    void aModuleThatCannotBeLoadedIsReportedAsAFailure() {
        QFETCH(QByteArray, moduleBytes);
        QTemporaryDir folder;
        QFile module(folder.filePath("libtolvexsynth.so"));
        if (!moduleBytes.isEmpty()) {
            QVERIFY(module.open(QIODevice::WriteOnly));
            module.write(moduleBytes);
            module.close();
        }
        music::SynthHost host({module.fileName(), TOLVEX_SOUND_FONT, "Tolvex App", "tolvexapp"});
        QSignalSpy failed(&host, &music::MusicOutput::failed);
        host.begin();
        host.open(std::make_shared<music::SynthHost::Player>(), tune);
        QVERIFY(failed.wait(5000));
    }
};

QTEST_MAIN(MusicChecksTest)
#include "MusicChecksTest.moc"
