#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

#include "MidiFileCheck.h"

using namespace tolvex::music;

namespace {

QByteArray bigEndian(quint32 value, int width) {
    QByteArray bytes;
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        bytes.append(static_cast<char>((value >> shift) & 0xFF));
    }
    return bytes;
}

QByteArray chunk(const char* id, const QByteArray& body) {
    return id + bigEndian(static_cast<quint32>(body.size()), 4) + body;
}

QByteArray header(quint16 format, quint16 tracks, quint16 division) {
    return chunk("MThd", bigEndian(format, 2) + bigEndian(tracks, 2) + bigEndian(division, 2));
}

// A piano plays one note.
const QByteArray kTrack = chunk("MTrk", QByteArray::fromHex("00c000 00903c64 60803c40 00ff2f00"));
const QByteArray kGood = header(1, 2, 96) + kTrack + kTrack;

}  // namespace

class MidiFileCheckTest : public QObject {
    Q_OBJECT
private slots:
    void checksTheStructure_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("playable");

        QTest::newRow("format 0") << header(0, 1, 96) + kTrack << true;
        QTest::newRow("format 1, trailing zero bytes") << kGood + QByteArray(7, '\0') << true;
        QTest::newRow("format 2, an empty track") << header(2, 2, 480) + kTrack + chunk("MTrk", {}) << true;
        QTest::newRow("128 tracks") << header(1, 128, 96) + kTrack.repeated(128) << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("header cut short") << kGood.left(13) << false;
        QTest::newRow("cut inside a track header") << kGood.left(14 + 5) << false;
        QTest::newRow("last byte missing") << kGood.chopped(1) << false;
        QTest::newRow("header length 7")
            << chunk("MThd", QByteArray::fromHex("00000001006000")) + kTrack << false;
        QTest::newRow("format 3") << header(3, 1, 96) + kTrack << false;
        QTest::newRow("no tracks") << header(0, 0, 96) << false;
        QTest::newRow("129 tracks") << header(1, 129, 96) + kTrack.repeated(129) << false;
        QTest::newRow("division 0") << header(0, 1, 0) + kTrack << false;
        QTest::newRow("SMPTE division") << header(0, 1, 0xE728) + kTrack << false;
        QTest::newRow("fewer tracks than announced") << header(1, 3, 96) + kTrack + kTrack << false;
        QTest::newRow("a chunk of another kind")
            << header(1, 2, 96) + kTrack + chunk("XFIH", "xxxx") << false;
        QTest::newRow("a non-zero byte after the tracks") << kGood + QByteArray::fromHex("0001") << false;
        QTest::newRow("track length near 4 GiB")
            << header(0, 1, 96) + "MTrk" + bigEndian(0xFFFFFFF8u, 4) + QByteArray::fromHex("00ff2f00")
            << false;
    }

    void checksTheStructure() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, playable);
        QCOMPARE(isPlayableMidi(bytes), playable);
    }

    void readsOnlyPlayableFiles() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder.mid"));
        for (const auto& [name, bytes] :
             {std::pair{"good.mid", kGood},
              {"truncated.mid", kGood.chopped(5)},
              {"picture.mid", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452")}}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QCOMPARE(readPlayableMidiFile(dir.filePath("good.mid")).value_or(QByteArray()), kGood);
        for (const char* name : {"truncated.mid", "picture.mid", "missing.mid", "folder.mid"}) {
            QVERIFY2(!readPlayableMidiFile(dir.filePath(name)), name);
        }
    }
};

QTEST_GUILESS_MAIN(MidiFileCheckTest)
#include "tst_midi_file_check.moc"
