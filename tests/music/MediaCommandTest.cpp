#include <QTest>

#include "FakeMusic.h"
#include "MediaCommand.h"
#include "MediaCommandLayer.h"
#include "MediaError.h"

using namespace tolvex;
using music::code;
using music::MediaError;

// The media-command layer: the four command strings, devices kept by alias, answers 0 or an error.
class MediaCommandTest : public QObject {
    Q_OBJECT

    testing::SequencerLog log;
    testing::FakeOutput output;
    music::MediaCommandLayer layer{[this] { return std::make_unique<testing::FakeSequencer>(log); }, output};

private slots:
    void init() { log = {}; }
    void cleanup() { layer.send("close midi"); }

    void aPathWithSpacesQuotesOrTheCommandsWordsOpensQuotedOrNot() {
        const QString path = R"(/tmp/a "b" alias midi/TXmidi.mid)";
        for (const QString& command :
             {"open sequencer!\"" + path + "\" alias midi", "open sequencer!" + path + " alias midi"}) {
            QCOMPARE(layer.send(command), 0);
            QCOMPARE(layer.send("close midi"), 0);
        }
        QCOMPARE(log.calls, QStringList({"open " + path, "close", "open " + path, "close"}));
    }
    void anythingElseIsNoCommand() {
        for (const char* text :
             {"", "play", "pause midi", "open sequencer! alias midi", "open cdaudio!/t alias midi"})
            QCOMPARE(layer.send(text), code(MediaError::UnknownCommand));
        QVERIFY(log.calls.isEmpty());
    }
    void commandsReachTheDeviceOpenUnderTheirAlias() {
        QCOMPARE(layer.send("play midi"), code(MediaError::AliasNotOpen));
        QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
        QCOMPARE(layer.send("open sequencer!/t/b.mid alias MIDI"), code(MediaError::AliasAlreadyOpen));
        QCOMPARE(layer.send("play other"), code(MediaError::AliasNotOpen));
        QCOMPARE(layer.send("Play Midi"), 0);
        QCOMPARE(layer.send("stop midi"), 0);
        QCOMPARE(layer.send("close midi"), 0);
        QCOMPARE(layer.send("stop midi"), code(MediaError::AliasNotOpen));
        QCOMPARE(log.calls, QStringList({"open /t/a.mid", "play", "stop", "close"}));
    }
    void aFailedOpenLeavesNoDevice() {
        log.openResult = code(MediaError::FileNotPlayable);
        QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), code(MediaError::FileNotPlayable));
        QCOMPARE(layer.send("play midi"), code(MediaError::AliasNotOpen));
        log.openResult = 0;
        QCOMPARE(layer.send("open sequencer!/t/a.mid alias midi"), 0);
    }
};

QTEST_MAIN(MediaCommandTest)
#include "MediaCommandTest.moc"
