#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>
#include <cerrno>

#include "ApplicationWriter.h"

using tolvex::appfile::writeApplicationFile;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool run(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments) == 0;
}

// A small file system of its own, so that the writer meets a full disk or a read-only
// directory; mounting needs root, so the cases that use it are skipped elsewhere.
class Mount {
public:
    Mount(const QString& where, const QString& options)
        : where_(where),
          mounted_(::geteuid() == 0 && run("mount", {"-t", "tmpfs", "-o", options, "tmpfs", where})) {}
    ~Mount() {
        if (mounted_) run("umount", {where_});
    }
    bool mounted() const { return mounted_; }

private:
    QString where_;
    bool mounted_;
};

}  // namespace

class ApplicationWriterTest : public QObject {
    Q_OBJECT
private slots:
    void writesTheFileNamedAfterTheNick();
    void replacesAnEarlierFileWhole();
    void refusedNicksWriteNothing_data();
    void refusedNicksWriteNothing();
    void acceptedUnusualNicks_data();
    void acceptedUnusualNicks();
    void directoryInTheWay();
    void missingDirectory();
    void readOnlyDirectoryKeepsTheEarlierFile();
    void fullDiskKeepsTheEarlierFile();
};

void ApplicationWriterTest::writesTheFileNamedAfterTheNick() {
    QTemporaryDir dir;
    const auto result = writeApplicationFile(dir.path(), "Ziruzav", QStringLiteral("line\r\n"));
    QVERIFY(result.ok);
    QCOMPARE(result.path, dir.filePath("Ziruzav.app"));
    QCOMPARE(readAll(dir.filePath("Ziruzav.app")), QByteArray("line\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Ziruzav.app"});
}

void ApplicationWriterTest::replacesAnEarlierFileWhole() {
    QTemporaryDir dir;
    writeFile(dir.filePath("nick.app"), QByteArray(5000, 'x'));
    QVERIFY(writeApplicationFile(dir.path(), "nick", QStringLiteral("short\r\n")).ok);
    QCOMPARE(readAll(dir.filePath("nick.app")), QByteArray("short\r\n"));
}

void ApplicationWriterTest::refusedNicksWriteNothing_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << ""
                           << "type your nick";
    QTest::newRow("dot") << "."
                         << "cannot name a file";
    QTest::newRow("dot dot") << ".."
                             << "cannot name a file";
    QTest::newRow("slash") << "../escape"
                           << "\"/\"";
    QTest::newRow("backslash") << "sub\\nick"
                               << "\"\\\"";
    for (const char c : QByteArray("<>:\"|?*"))
        QTest::addRow("character %c", c)
            << QStringLiteral("ni%1ck").arg(QChar(c)) << QStringLiteral("\"%1\"").arg(QChar(c));
    QTest::newRow("tab") << "ni\tck"
                         << "control character";
    QTest::newRow("newline") << "nick\n"
                             << "control character";
    QTest::newRow("delete") << QStringLiteral(
                                   "ni\x7F"
                                   "ck")
                            << "control character";
    QTest::newRow("trailing dot") << "nick."
                                  << "ends in a dot or a space";
    QTest::newRow("trailing space") << "nick "
                                    << "ends in a dot or a space";
}

void ApplicationWriterTest::refusedNicksWriteNothing() {
    QFETCH(QString, nick);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    const auto result = writeApplicationFile(dir.path(), nick, QStringLiteral("text\r\n"));
    QVERIFY(!result.ok);
    QCOMPARE(result.code, EINVAL);
    QVERIFY2(result.description.contains(reason), qPrintable(result.description));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"sub"});
    QVERIFY(QDir(dir.filePath("sub")).isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("../escape.app")));
}

void ApplicationWriterTest::acceptedUnusualNicks_data() {
    QTest::addColumn<QString>("nick");
    QTest::newRow("leading dot") << ".hidden";
    QTest::newRow("inner space and dot") << "Mr. X";
    QTest::newRow("non-ASCII") << QStringLiteral("Żółw");
}

void ApplicationWriterTest::acceptedUnusualNicks() {
    QFETCH(QString, nick);
    QTemporaryDir dir;
    QVERIFY(writeApplicationFile(dir.path(), nick, QStringLiteral("x\r\n")).ok);
    QCOMPARE(readAll(dir.filePath(nick + ".app")), QByteArray("x\r\n"));
}

void ApplicationWriterTest::directoryInTheWay() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("nick.app"));
    writeFile(dir.filePath("nick.app/keep"), "kept");
    const auto result = writeApplicationFile(dir.path(), "nick", QStringLiteral("x\r\n"));
    QVERIFY(!result.ok);
    QCOMPARE(result.code, EISDIR);
    QVERIFY(!result.description.isEmpty());
    QCOMPARE(readAll(dir.filePath("nick.app/keep")), QByteArray("kept"));
}

void ApplicationWriterTest::missingDirectory() {
    QTemporaryDir dir;
    const auto result = writeApplicationFile(dir.filePath("gone"), "nick", QStringLiteral("x\r\n"));
    QVERIFY(!result.ok);
    QVERIFY2(result.code > 0, qPrintable(QString::number(result.code)));
    QVERIFY(!result.description.isEmpty());
}

void ApplicationWriterTest::readOnlyDirectoryKeepsTheEarlierFile() {
    QTemporaryDir dir;
    writeFile(dir.filePath("nick.app"), "earlier");
    if (::geteuid() != 0) {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    } else {
        // Root writes through permission bits: put a read-only copy of the folder over it.
        if (!run("mount", {"--bind", "-o", "ro", dir.path(), dir.path()}))
            QSKIP(
                "cannot make a read-only directory here: permission bits do not stop root and mounting is "
                "not allowed");
    }
    const auto result = writeApplicationFile(dir.path(), "nick", QStringLiteral("new\r\n"));
    if (::geteuid() == 0)
        run("umount", {dir.path()});
    else
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!result.ok);
    QVERIFY2(result.code == EACCES || result.code == EROFS, qPrintable(QString::number(result.code)));
    QCOMPARE(result.description, QString::fromLocal8Bit(strerror(result.code)));
    QCOMPARE(readAll(dir.filePath("nick.app")), QByteArray("earlier"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"nick.app"});
}

void ApplicationWriterTest::fullDiskKeepsTheEarlierFile() {
    QTemporaryDir dir;
    Mount disk(dir.path(), "size=64k");
    if (!disk.mounted()) QSKIP("cannot mount a small tmpfs here (needs root): the full-disk case is not run");
    writeFile(dir.filePath("nick.app"), "earlier");
    QFile filler(dir.filePath("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
    }
    filler.close();

    const auto result = writeApplicationFile(dir.path(), "nick", QString(20000, QChar('a')));
    QVERIFY(!result.ok);
    QCOMPARE(result.code, ENOSPC);
    QCOMPARE(readAll(dir.filePath("nick.app")), QByteArray("earlier"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"filler", "nick.app"}));
}

QTEST_GUILESS_MAIN(ApplicationWriterTest)
#include "ApplicationWriterTest.moc"
