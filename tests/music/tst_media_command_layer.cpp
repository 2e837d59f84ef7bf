#include <QStringList>
#include <QTest>

#include <deque>
#include <memory>

#include "MediaCommandLayer.h"

using tolvex::music::code;
using tolvex::music::MediaCommandLayer;
using tolvex::music::MediaError;
using tolvex::music::Sequencer;

namespace {

// What the fake devices did, in order, each line naming the device by its creation number.
struct Journal {
    QStringList lines;
    int made = 0;
    // Answers of the next opens; an empty queue answers 0.
    std::deque<int> openResults;
    int playResult = 0;
};

// A device that keeps a playing position: play moves it on by one step, as if some of the
// tune had played; stop keeps it.
class FakeSequencer final : public Sequencer {
public:
    explicit FakeSequencer(Journal& journal) : journal_(journal), number_(++journal.made) {}
    ~FakeSequencer() override { note(QStringLiteral("destroyed")); }

    int open(const QString& path) override
    {
        note(QStringLiteral("open ") + path);
        if (journal_.openResults.empty()) {
            return 0;
        }
        const int result = journal_.openResults.front();
        journal_.openResults.pop_front();
        return result;
    }
    int play() override
    {
        note(QStringLiteral("play from %1").arg(position_++));
        return journal_.playResult;
    }
    int stop() override
    {
        note(QStringLiteral("stop at %1").arg(position_));
        return 0;
    }

private:
    void note(const QString& what) { journal_.lines << QStringLiteral("%1: %2").arg(number_).arg(what); }

    Journal& journal_;
    int number_;
    int position_ = 0;
};

MediaCommandLayer::SequencerFactory fakes(Journal& journal)
{
    return [&journal] { return std::make_unique<FakeSequencer>(journal); };
}

}  // namespace

class MediaCommandLayerTest : public QObject {
    Q_OBJECT
private slots:
    void commandsOnAliasNotOpenChangeNothing_data();
    void commandsOnAliasNotOpenChangeNothing();
    void commandsOnAnotherAliasLeaveTheOpenDeviceAlone();
    void failingOpenAnswersItsErrorAndLeavesNothingOpen();
    void openOnAnOpenAliasIsRefusedAndChangesNothing();
    void stopAndCloseAfterPlay();
    void reopenPlaysFromTheStart();
    void theMusicRestartSequence();
    void aliasesAreCaseInsensitive();
    void devicesUnderOtherAliasesAreIndependent();
    void pathsWithSpacesReachTheDevice_data();
    void pathsWithSpacesReachTheDevice();
    void unknownCommandsChangeNothing_data();
    void unknownCommandsChangeNothing();
    void theDeviceAnswerIsTheCommandAnswer();
};

void MediaCommandLayerTest::commandsOnAliasNotOpenChangeNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("play") << "play midi";
    QTest::newRow("stop") << "stop midi";
    QTest::newRow("close") << "close midi";
}

void MediaCommandLayerTest::commandsOnAliasNotOpenChangeNothing()
{
    QFETCH(QString, command);
    Journal journal;
    MediaCommandLayer layer(fakes(journal));

    QCOMPARE(layer.send(command), code(MediaError::AliasNotOpen));
    QCOMPARE(layer.send(command), code(MediaError::AliasNotOpen));
    QCOMPARE(journal.made, 0);
    QVERIFY(journal.lines.isEmpty());
}

void MediaCommandLayerTest::commandsOnAnotherAliasLeaveTheOpenDeviceAlone()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    const QStringList before = journal.lines;

    QCOMPARE(layer.send("play other"), code(MediaError::AliasNotOpen));
    QCOMPARE(layer.send("stop other"), code(MediaError::AliasNotOpen));
    QCOMPARE(layer.send("close other"), code(MediaError::AliasNotOpen));
    QCOMPARE(journal.lines, before);
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(journal.lines.last(), "1: play from 0");
}

void MediaCommandLayerTest::failingOpenAnswersItsErrorAndLeavesNothingOpen()
{
    Journal journal;
    journal.openResults = {code(MediaError::FileNotPlayable)};
    MediaCommandLayer layer(fakes(journal));

    QCOMPARE(layer.send("open sequencer!/t/missing.mid alias midi"), code(MediaError::FileNotPlayable));
    QCOMPARE(journal.lines, QStringList({"1: open /t/missing.mid", "1: destroyed"}));
    QCOMPARE(layer.send("play midi"), code(MediaError::AliasNotOpen));
    QCOMPARE(layer.send("close midi"), code(MediaError::AliasNotOpen));
    QCOMPARE(journal.lines.size(), 2);

    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(journal.lines.last(), "2: play from 0");
}

void MediaCommandLayerTest::openOnAnOpenAliasIsRefusedAndChangesNothing()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    QCOMPARE(layer.send("play midi"), 0);
    const QStringList before = journal.lines;

    QCOMPARE(layer.send("open sequencer!/t/b.mid alias midi"), code(MediaError::AliasAlreadyOpen));
    QCOMPARE(journal.lines, before);
    QCOMPARE(journal.made, 1);
    QCOMPARE(layer.send("stop midi"), 0);
    QCOMPARE(journal.lines.last(), "1: stop at 1");
}

void MediaCommandLayerTest::stopAndCloseAfterPlay()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));

    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(layer.send("stop midi"), 0);
    QCOMPARE(layer.send("close midi"), 0);
    QCOMPARE(journal.lines,
             QStringList({"1: open /t/a.mid", "1: play from 0", "1: stop at 1", "1: destroyed"}));

    QCOMPARE(layer.send("play midi"), code(MediaError::AliasNotOpen));
    QCOMPARE(layer.send("stop midi"), code(MediaError::AliasNotOpen));
    QCOMPARE(layer.send("close midi"), code(MediaError::AliasNotOpen));
    QCOMPARE(journal.lines.size(), 4);
}

void MediaCommandLayerTest::reopenPlaysFromTheStart()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(layer.send("stop midi"), 0);
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(journal.lines.last(), "1: play from 1");

    QCOMPARE(layer.send("close midi"), 0);
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(journal.lines.last(), "2: play from 0");
}

void MediaCommandLayerTest::theMusicRestartSequence()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    const QString open = "open sequencer!\"/tmp/TXmidi.mid\" alias midi";

    // The first start: nothing to stop or close yet.
    QVERIFY(layer.send("stop midi") != 0);
    QVERIFY(layer.send("close midi") != 0);
    QCOMPARE(layer.send(open), 0);
    QCOMPARE(layer.send("play midi"), 0);
    // A restart.
    QCOMPARE(layer.send("stop midi"), 0);
    QCOMPARE(layer.send("close midi"), 0);
    QCOMPARE(layer.send(open), 0);
    QCOMPARE(layer.send("play midi"), 0);

    QCOMPARE(journal.lines, QStringList({"1: open /tmp/TXmidi.mid", "1: play from 0", "1: stop at 1",
                                         "1: destroyed", "2: open /tmp/TXmidi.mid", "2: play from 0"}));
}

void MediaCommandLayerTest::aliasesAreCaseInsensitive()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias MIDI"), 0);
    QCOMPARE(layer.send("open sequencer!/t/b.mid alias Midi"), code(MediaError::AliasAlreadyOpen));
    QCOMPARE(layer.send("play midi"), 0);
    QCOMPARE(layer.send("close mIdI"), 0);
    QCOMPARE(journal.lines, QStringList({"1: open /t/a.mid", "1: play from 0", "1: destroyed"}));
}

void MediaCommandLayerTest::devicesUnderOtherAliasesAreIndependent()
{
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias one"), 0);
    QCOMPARE(layer.send("open sequencer!/t/b.mid alias two"), 0);
    QCOMPARE(layer.send("close one"), 0);
    QCOMPARE(journal.lines.last(), "1: destroyed");

    QCOMPARE(layer.send("play two"), 0);
    QCOMPARE(journal.lines.last(), "2: play from 0");
    QCOMPARE(layer.send("play one"), code(MediaError::AliasNotOpen));
}

void MediaCommandLayerTest::pathsWithSpacesReachTheDevice_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("quoted") << "open sequencer!\"/tmp/my temp/TXmidi.mid\" alias midi";
    QTest::newRow("unquoted") << "open sequencer!/tmp/my temp/TXmidi.mid alias midi";
}

void MediaCommandLayerTest::pathsWithSpacesReachTheDevice()
{
    QFETCH(QString, command);
    Journal journal;
    MediaCommandLayer layer(fakes(journal));

    QCOMPARE(layer.send(command), 0);
    QCOMPARE(journal.lines, QStringList({"1: open /tmp/my temp/TXmidi.mid"}));
    QCOMPARE(layer.send("play midi"), 0);
}

void MediaCommandLayerTest::unknownCommandsChangeNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown verb") << "pause midi";
    QTest::newRow("play with an option") << "play midi wait";
    QTest::newRow("open of another device type") << "open waveaudio!/t/a.wav alias midi";
    QTest::newRow("open without alias") << "open sequencer!/t/a.mid";
}

void MediaCommandLayerTest::unknownCommandsChangeNothing()
{
    QFETCH(QString, command);
    Journal journal;
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);

    QCOMPARE(layer.send(command), code(MediaError::UnknownCommand));
    QCOMPARE(journal.lines, QStringList({"1: open /t/a.mid"}));
    QCOMPARE(journal.made, 1);
}

void MediaCommandLayerTest::theDeviceAnswerIsTheCommandAnswer()
{
    Journal journal;
    journal.playResult = code(MediaError::NoAudioOutput);
    MediaCommandLayer layer(fakes(journal));
    QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);

    QCOMPARE(layer.send("play midi"), code(MediaError::NoAudioOutput));
    QCOMPARE(layer.send("close midi"), 0);
}

QTEST_GUILESS_MAIN(MediaCommandLayerTest)
#include "tst_media_command_layer.moc"
