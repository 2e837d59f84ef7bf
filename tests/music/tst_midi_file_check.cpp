#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "MidiBytes.h"
#include "MidiFileCheck.h"

using namespace tolvex::music;
using namespace tolvex::music::test;

class MidiFileCheckTest : public QObject {
    Q_OBJECT
private slots:
    void acceptsPlayableFiles_data();
    void acceptsPlayableFiles();
    void refusesUnplayableBytes_data();
    void refusesUnplayableBytes();
    void readsAPlayableFileWhole();
    void refusesFilesThatCannotPlay_data();
    void refusesFilesThatCannotPlay();

private:
    QTemporaryDir dir_;
};

void MidiFileCheckTest::acceptsPlayableFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray track = chunk("MTrk", noteEvents(3, 96));

    QTest::newRow("format 0") << header(0, 1, 96) + track;
    QTest::newRow("format 1, three tracks") << header(1, 3, 120) + track + track + chunk("MTrk", endOfTrack());
    QTest::newRow("format 2") << header(2, 2, 480) + track + track;
    QTest::newRow("an empty track") << header(0, 1, 96) + chunk("MTrk", {});
    QTest::newRow("one trailing zero byte") << tune(4) + QByteArray(1, '\0');
    QTest::newRow("several trailing zero bytes") << tune(4) + QByteArray(7, '\0');
    QTest::newRow("128 tracks") << header(1, 128, 96) + track.repeated(128);
}

void MidiFileCheckTest::acceptsPlayableFiles()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(isPlayableMidi(bytes));
}

void MidiFileCheckTest::refusesUnplayableBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = tune(4);
    const QByteArray track = chunk("MTrk", noteEvents(3, 96));

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("This is not music at all, only some words.");
    QTest::newRow("a RIFF wave header") << QByteArray::fromHex("52494646240800005741564566");
    QTest::newRow("header cut short") << good.left(13);
    QTest::newRow("header alone") << good.left(14);
    QTest::newRow("cut inside a track header") << good.left(14 + 12 + 5);
    QTest::newRow("cut inside a track's events") << good.left(good.size() - 30);
    QTest::newRow("last byte missing") << good.chopped(1);
    QTest::newRow("header length 7") << chunk("MThd", QByteArray::fromHex("00000001006000")) + track;
    QTest::newRow("header length 6 in its low byte only")
        << QByteArray("MThd") + QByteArray::fromHex("01000006000000010060") + track;
    QTest::newRow("format 3") << header(3, 1, 96) + track;
    QTest::newRow("no tracks") << header(0, 0, 96);
    QTest::newRow("129 tracks") << header(1, 129, 96) + track.repeated(129);
    QTest::newRow("division 0") << header(0, 1, 0) + track;
    QTest::newRow("SMPTE division") << header(0, 1, 0xE728) + track;
    QTest::newRow("fewer tracks than announced") << header(1, 3, 96) + track + track;
    QTest::newRow("a chunk of another kind") << header(1, 2, 96) + track + chunk("XFIH", QByteArray(4, 'x'));
    QTest::newRow("a non-zero byte after the tracks") << good + QByteArray::fromHex("0001");
    QTest::newRow("more tracks than announced") << header(0, 1, 96) + track + track;
    QTest::newRow("track longer than the file")
        << header(0, 1, 96) + QByteArray("MTrk") + bigEndian(100, 4) + endOfTrack();
    QTest::newRow("track length near 4 GiB")
        << header(0, 1, 96) + QByteArray("MTrk") + bigEndian(0xFFFFFFF8u, 4) + endOfTrack();
}

void MidiFileCheckTest::refusesUnplayableBytes()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!isPlayableMidi(bytes));
}

void MidiFileCheckTest::readsAPlayableFileWhole()
{
    QVERIFY(dir_.isValid());
    const QByteArray bytes = tune(10) + QByteArray(1, '\0');
    const QString path = dir_.filePath("good.mid");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    const std::optional<QByteArray> read = readPlayableMidiFile(path);
    QVERIFY(read.has_value());
    QCOMPARE(*read, bytes);
}

void MidiFileCheckTest::refusesFilesThatCannotPlay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("missing") << "missing.mid" << QByteArray();
    QTest::newRow("empty") << "empty.mid" << QByteArray("");
    QTest::newRow("truncated") << "truncated.mid" << tune(10).chopped(5);
    QTest::newRow("not MIDI") << "picture.mid" << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
    QTest::newRow("a directory") << "folder.mid" << QByteArray();
}

void MidiFileCheckTest::refusesFilesThatCannotPlay()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath(name);
    if (name == "folder.mid") {
        QVERIFY(QDir(dir_.path()).mkdir(name));
    } else if (!bytes.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QVERIFY(!readPlayableMidiFile(path).has_value());
}

QTEST_GUILESS_MAIN(MidiFileCheckTest)
#include "tst_midi_file_check.moc"
