#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "AudioCheck.h"
#include "MidiFileCheck.h"
#include "OtherAccount.h"
#include "Resources.h"
#include "TuneFile.h"

using namespace tolvex;

// What the music checks before anything plays, and the tune file it writes.
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
    // A start that finds the tune written keeps that file; anything else there is replaced.
    void aFileThatHoldsTheTuneIsKeptAndAnythingElseIsReplaced() {
        QTemporaryDir folder;
        const QString directory = folder.path() + '/', path = directory + "TXmidi.mid";
        const auto inode = [&] {
            struct stat status = {};
            return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
        };
        const auto holdsTune = [&] {
            QFile written(path);
            return written.open(QIODevice::ReadOnly) && written.readAll() == tune;
        };
        QCOMPARE(music::writeTuneFile(directory, tune).error, 0);
        const ino_t first = inode();
        QCOMPARE(music::writeTuneFile(directory, tune).error, 0);
        QCOMPARE(inode(), first);

        QFile changed(path);
        QVERIFY(changed.open(QIODevice::ReadWrite) && changed.seek(100) && changed.write("x") == 1);
        changed.close();
        QCOMPARE(music::writeTuneFile(directory, tune).error, 0);
        QVERIFY(inode() != first && holdsTune());

        QVERIFY(QFile::rename(path, folder.filePath("copy")) && QFile::link(folder.filePath("copy"), path));
        QCOMPARE(music::writeTuneFile(directory, tune).error, 0);
        QVERIFY(!QFileInfo(path).isSymLink() && holdsTune());

        QVERIFY(QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        QCOMPARE(music::writeTuneFile(directory, tune).error, 0);
        QVERIFY(holdsTune());
    }
    void whereAnotherAccountHoldsBothTuneNamesEveryStartUsesOneFolderOfTheAccounts() {
        if (::geteuid() != 0) QSKIP("acting as two accounts needs root");
        QTemporaryDir shared("/tmp/tolvex-shared-XXXXXX");
        QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 01777) == 0);
        const QString directory = shared.path() + '/';
        for (const QString& name : {QString("TXmidi.mid"), QString("TXmidi-%1.mid").arg(testing::kNobody)}) {
            QFile rootsTune(directory + name);
            QVERIFY(rootsTune.open(QIODevice::WriteOnly));
        }
        for (int start = 0; start < 3; ++start)
            QVERIFY(testing::holdsAsNobody([&] { return music::writeTuneFile(directory, tune).error == 0; }));
        QCOMPARE(QDir(directory).entryList({"TolvexApp-*"}, QDir::Dirs).size(), 1);
        QFile written(directory + QString("TolvexApp-%1/TXmidi.mid").arg(testing::kNobody));
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
        QVERIFY(!music::isSoundFont(QFile::encodeName(midi.fileName()).toStdString()));
        QVERIFY(!music::isSoundFont(QFile::encodeName(folder.filePath("missing.sf2")).toStdString()));
    }
};

QTEST_MAIN(MusicChecksTest)
#include "MusicChecksTest.moc"
