#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <cerrno>
#include <csignal>

#include "TuneFile.h"

using namespace tolvex::music;

namespace {

QByteArray payload(qsizetype size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator::global()->generate(bytes.begin(), bytes.end());
    return bytes;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool plant(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TuneFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        directory_ = dir_->path() + "/my temp dir/";
        target_ = directory_ + "TXmidi.mid";
        QVERIFY(QDir().mkpath(directory_));
    }

    void writesTheBytesWhole() {
        // Into an empty directory, over the tune of an earlier run, over an older, longer file.
        for (const QByteArray& old : {QByteArray(), tune_, QByteArray(40000, 'x')}) {
            QVERIFY(old.isEmpty() || plant(target_, old));
            const TuneWriteResult result = writeTuneFile(directory_, tune_);
            QCOMPARE(result.error, 0);
            QVERIFY(result.description.isEmpty());
            QCOMPARE(contents(target_), tune_);
            onlyTheTuneFileIsLeft();
        }
    }

    void replacesPlantedLinksWithoutFollowingThem() {
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath("precious.txt");
        const QString dangling = elsewhere.filePath("created-by-mistake");
        QVERIFY(plant(victim, "keep me"));
        for (const QString& linked : {victim, dangling}) {
            QFile::remove(target_);
            QVERIFY(QFile::link(linked, target_));
            QCOMPARE(writeTuneFile(directory_, tune_).error, 0);
            QVERIFY(!QFileInfo(target_).isSymLink());
            QCOMPARE(contents(target_), tune_);
        }
        QCOMPARE(contents(victim), QByteArray("keep me"));
        QVERIFY(!QFileInfo::exists(dangling));
    }

    void reportsADirectoryThatIsAFile() {
        QVERIFY(plant(target_, "old"));
        const TuneWriteResult result = writeTuneFile(target_ + '/', tune_);
        QCOMPARE(result.error, ENOTDIR);
        QVERIFY2(result.description.contains(target_ + "/TXmidi.mid"), qPrintable(result.description));
        QCOMPARE(contents(target_), QByteArray("old"));
        onlyTheTuneFileIsLeft();
    }

    void reportsATargetThatIsADirectory() {
        QVERIFY(QDir().mkdir(target_));
        QVERIFY(writeTuneFile(directory_, tune_).error > 0);
        QVERIFY(QFileInfo(target_).isDir());
        onlyTheTuneFileIsLeft();
    }

    void reportsAFileThatCannotGrowAndKeepsTheOldFile() {
        // A limit on the size of files stands in for a full disk: writing past it fails with
        // EFBIG once the signal it raises, which would end the test, is ignored.
        QVERIFY(plant(target_, "old"));
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const rlimit small{64 * 1024, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
        const TuneWriteResult result = writeTuneFile(directory_, payload(256 * 1024));
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(limited);
        QVERIFY2(result.error > 0, qPrintable(result.description));
        QCOMPARE(contents(target_), QByteArray("old"));
        onlyTheTuneFileIsLeft();
    }

private:
    // No temporary file may be left behind.
    void onlyTheTuneFileIsLeft() const {
        QCOMPARE(
            QDir(directory_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"TXmidi.mid"});
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString directory_;
    QString target_;
    const QByteArray tune_ = payload(16760);
};

QTEST_GUILESS_MAIN(TuneFileTest)
#include "tst_tune_file.moc"
