#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/mount.h>

#include "TuneFile.h"

using namespace tolvex::music;

namespace {

QByteArray payload(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i + 1 < size; ++i) {
        bytes[i] = static_cast<char>(QRandomGenerator::global()->bounded(256));
    }
    return bytes;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool plant(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A small tmpfs mounted over a folder for the length of a test; needs the right to mount.
class TmpfsMount {
public:
    TmpfsMount(const QString& where, const char* options)
        : where_(QFile::encodeName(where)),
          mounted_(::mount("tmpfs", where_.constData(), "tmpfs", 0, options) == 0),
          error_(mounted_ ? 0 : errno)
    {
    }
    ~TmpfsMount()
    {
        if (mounted_) {
            ::umount2(where_.constData(), MNT_DETACH);
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    int error() const { return error_; }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, where_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QByteArray where_;
    bool mounted_;
    int error_;
};

// Names another temporary directory for the length of a scope.
class ScopedTmpdir {
public:
    explicit ScopedTmpdir(const QString& directory) : saved_(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(directory));
    }
    ~ScopedTmpdir()
    {
        if (saved_.isNull()) {
            qunsetenv("TMPDIR");
        } else {
            qputenv("TMPDIR", saved_);
        }
    }
    ScopedTmpdir(const ScopedTmpdir&) = delete;
    ScopedTmpdir& operator=(const ScopedTmpdir&) = delete;

private:
    QByteArray saved_;
};

}  // namespace

class TuneFileTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writesTheBytesExactly();
    void aSecondWriteLeavesTheFileUnchanged();
    void replacesAnOlderLongerFileWhole();
    void writesInADirectoryWithASpace();
    void replacesAPlantedLinkWithoutFollowingIt();
    void doesNotCreateTheTargetOfADanglingLink();
    void reportsADirectoryThatCannotExist();
    void reportsATargetThatIsADirectory();
    void reportsAReadOnlyFileSystemAndKeepsTheOldFile();
    void reportsAFullDiskAndKeepsTheOldFile();
    void theDirectoryIsTheTemporaryDirectoryWithOneSeparator_data();
    void theDirectoryIsTheTemporaryDirectoryWithOneSeparator();
    void theDirectoryOfTheRootHasOneSeparator();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString directory_;
    QString target_;
    QByteArray tune_ = payload(16760);
};

void TuneFileTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    directory_ = dir_->path() + '/';
    target_ = directory_ + "TXmidi.mid";
}

void TuneFileTest::writesTheBytesExactly()
{
    const TuneWriteResult result = writeTuneFile(directory_, tune_);
    QCOMPARE(result.error, 0);
    QVERIFY(result.description.isEmpty());
    QCOMPARE(contents(target_), tune_);
    QCOMPARE(entries(dir_->path()), QStringList({"TXmidi.mid"}));
}

void TuneFileTest::aSecondWriteLeavesTheFileUnchanged()
{
    QCOMPARE(writeTuneFile(directory_, tune_).error, 0);
    QCOMPARE(writeTuneFile(directory_, tune_).error, 0);
    QCOMPARE(QFileInfo(target_).size(), 16760);
    QCOMPARE(contents(target_), tune_);
    QCOMPARE(entries(dir_->path()), QStringList({"TXmidi.mid"}));
}

void TuneFileTest::replacesAnOlderLongerFileWhole()
{
    QVERIFY(plant(target_, QByteArray(40000, 'x')));
    QCOMPARE(writeTuneFile(directory_, tune_).error, 0);
    QCOMPARE(contents(target_), tune_);
}

void TuneFileTest::writesInADirectoryWithASpace()
{
    const QString spaced = dir_->path() + "/my temp dir";
    QVERIFY(QDir().mkpath(spaced));
    QCOMPARE(writeTuneFile(spaced + '/', tune_).error, 0);
    QCOMPARE(contents(spaced + "/TXmidi.mid"), tune_);
}

void TuneFileTest::replacesAPlantedLinkWithoutFollowingIt()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString victim = elsewhere.filePath("precious.txt");
    QVERIFY(plant(victim, "keep me"));
    QVERIFY(QFile::link(victim, target_));

    QCOMPARE(writeTuneFile(directory_, tune_).error, 0);
    QVERIFY(!QFileInfo(target_).isSymLink());
    QCOMPARE(contents(target_), tune_);
    QCOMPARE(contents(victim), QByteArray("keep me"));
}

void TuneFileTest::doesNotCreateTheTargetOfADanglingLink()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString victim = elsewhere.filePath("created-by-mistake");
    QVERIFY(QFile::link(victim, target_));

    QCOMPARE(writeTuneFile(directory_, tune_).error, 0);
    QVERIFY(!QFileInfo(target_).isSymLink());
    QCOMPARE(contents(target_), tune_);
    QVERIFY(!QFileInfo::exists(victim));
}

void TuneFileTest::reportsADirectoryThatCannotExist()
{
    const QString notADirectory = dir_->filePath("plain-file");
    QVERIFY(plant(notADirectory, "just a file"));

    const TuneWriteResult result = writeTuneFile(notADirectory + '/', tune_);
    QCOMPARE(result.error, ENOTDIR);
    QVERIFY2(result.description.contains(notADirectory + "/TXmidi.mid"), qPrintable(result.description));
    QCOMPARE(contents(notADirectory), QByteArray("just a file"));
    QCOMPARE(entries(dir_->path()), QStringList({"plain-file"}));
}

void TuneFileTest::reportsATargetThatIsADirectory()
{
    QVERIFY(QDir().mkdir(target_));

    const TuneWriteResult result = writeTuneFile(directory_, tune_);
    QVERIFY(result.error > 0);
    QVERIFY2(result.description.contains(target_), qPrintable(result.description));
    QVERIFY(QFileInfo(target_).isDir());
    QCOMPARE(entries(dir_->path()), QStringList({"TXmidi.mid"}));
}

void TuneFileTest::reportsAReadOnlyFileSystemAndKeepsTheOldFile()
{
    const TmpfsMount mount(dir_->path(), "size=256k");
    if (!mount.mounted()) {
        QSKIP(qPrintable(QString("cannot mount a tmpfs here (%1), so no read-only folder to write to")
                             .arg(qt_error_string(mount.error()))));
    }
    const QByteArray old = payload(1000);
    QVERIFY(plant(target_, old));
    QVERIFY(mount.makeReadOnly());

    const TuneWriteResult result = writeTuneFile(directory_, tune_);
    QCOMPARE(result.error, EROFS);
    QVERIFY2(result.description.contains(target_), qPrintable(result.description));
    QCOMPARE(contents(target_), old);
    QCOMPARE(entries(dir_->path()), QStringList({"TXmidi.mid"}));
}

void TuneFileTest::reportsAFullDiskAndKeepsTheOldFile()
{
    const TmpfsMount mount(dir_->path(), "size=64k");
    if (!mount.mounted()) {
        QSKIP(qPrintable(QString("cannot mount a tmpfs here (%1), so no small disk to fill")
                             .arg(qt_error_string(mount.error()))));
    }
    const QByteArray old = payload(8000);
    QVERIFY(plant(target_, old));

    const TuneWriteResult result = writeTuneFile(directory_, payload(256 * 1024));
    QCOMPARE(result.error, ENOSPC);
    QVERIFY2(result.description.contains(target_), qPrintable(result.description));
    QCOMPARE(contents(target_), old);
    QCOMPARE(entries(dir_->path()), QStringList({"TXmidi.mid"}));
}

void TuneFileTest::theDirectoryIsTheTemporaryDirectoryWithOneSeparator_data()
{
    QTest::addColumn<QString>("tmpdir");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("exists");
    QTest::newRow("plain") << "plain" << "plain/" << true;
    QTest::newRow("with spaces") << "my temp dir" << "my temp dir/" << true;
    QTest::newRow("given with a trailing separator") << "trailing/" << "trailing/" << true;
    QTest::newRow("missing") << "missing/./" << "missing/" << false;
}

void TuneFileTest::theDirectoryIsTheTemporaryDirectoryWithOneSeparator()
{
    QFETCH(QString, tmpdir);
    QFETCH(QString, expected);
    QFETCH(bool, exists);
    // The temporary directory is reported without symbolic links in its path.
    QString base = directory_;
    if (exists) {
        QVERIFY(QDir(dir_->path()).mkdir(tmpdir));
        base = QFileInfo(dir_->path()).canonicalFilePath() + '/';
    }

    const ScopedTmpdir scoped(directory_ + tmpdir);
    QCOMPARE(tuneDirectory(), base + expected);
}

void TuneFileTest::theDirectoryOfTheRootHasOneSeparator()
{
    const ScopedTmpdir scoped("/");
    QCOMPARE(tuneDirectory(), "/");
}

QTEST_GUILESS_MAIN(TuneFileTest)
#include "tst_tune_file.moc"
