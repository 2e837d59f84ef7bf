#include <QStringList>
#include <QTest>

#include <memory>

#include "MediaCommandLayer.h"

using namespace tolvex::music;

namespace {

struct Step {
    QString command;
    int answer;
};
using Script = QList<Step>;

struct Journal {
    QStringList lines;
    int made = 0;
};

// Devices number themselves as they are made and note what they are asked in one journal.
// Play moves the position on by one, as if some of the tune had played. A path holding
// "missing" does not open; one holding "mute" opens but cannot play.
class FakeSequencer final : public Sequencer {
public:
    explicit FakeSequencer(Journal& journal) : journal_(journal), number_(++journal.made) {}
    ~FakeSequencer() override { note(QStringLiteral("destroyed")); }

    int open(const QString& path) override {
        path_ = path;
        note("open " + path);
        return path.contains("missing") ? code(MediaError::FileNotPlayable) : 0;
    }
    int play() override {
        note(QStringLiteral("play from %1").arg(position_++));
        return path_.contains("mute") ? code(MediaError::NoAudioOutput) : 0;
    }
    int stop() override {
        note(QStringLiteral("stop at %1").arg(position_));
        return 0;
    }

private:
    void note(const QString& what) { journal_.lines << QStringLiteral("%1: %2").arg(number_).arg(what); }

    Journal& journal_;
    int number_;
    QString path_;
    int position_ = 0;
};

MediaCommandLayer::SequencerFactory fakes(Journal& journal) {
    return [&journal] { return std::make_unique<FakeSequencer>(journal); };
}

const QString kOpenA = QStringLiteral("open sequencer!/t/a.mid alias midi");
constexpr int kNotOpen = code(MediaError::AliasNotOpen);
constexpr int kAlreadyOpen = code(MediaError::AliasAlreadyOpen);

}  // namespace

Q_DECLARE_METATYPE(Script)

class MediaCommandLayerTest : public QObject {
    Q_OBJECT
private slots:
    void scripts_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QStringList>("journal");

        QTest::newRow("commands on an alias not open")
            << Script{{"play midi", kNotOpen}, {"stop midi", kNotOpen}, {"close midi", kNotOpen}}
            << QStringList{};
        QTest::newRow("commands on another alias") << Script{{kOpenA, 0},
                                                             {"play other", kNotOpen},
                                                             {"stop other", kNotOpen},
                                                             {"close other", kNotOpen},
                                                             {"play midi", 0}}
                                                   << QStringList{"1: open /t/a.mid", "1: play from 0"};
        QTest::newRow("a failing open leaves nothing open")
            << Script{{"open sequencer!/t/missing.mid alias midi", code(MediaError::FileNotPlayable)},
                      {"play midi", kNotOpen},
                      {"close midi", kNotOpen},
                      {kOpenA, 0},
                      {"play midi", 0}}
            << QStringList{"1: open /t/missing.mid", "1: destroyed", "2: open /t/a.mid", "2: play from 0"};
        QTest::newRow("open on an open alias")
            << Script{{kOpenA, 0},
                      {"play midi", 0},
                      {"open sequencer!/t/b.mid alias midi", kAlreadyOpen},
                      {"stop midi", 0}}
            << QStringList{"1: open /t/a.mid", "1: play from 0", "1: stop at 1"};
        QTest::newRow("stop and close after play")
            << Script{{kOpenA, 0},
                      {"play midi", 0},
                      {"stop midi", 0},
                      {"close midi", 0},
                      {"play midi", kNotOpen},
                      {"stop midi", kNotOpen},
                      {"close midi", kNotOpen}}
            << QStringList{"1: open /t/a.mid", "1: play from 0", "1: stop at 1", "1: destroyed"};
        QTest::newRow("re-open plays from the start")
            << Script{{kOpenA, 0},       {"play midi", 0}, {"stop midi", 0}, {"play midi", 0},
                      {"close midi", 0}, {kOpenA, 0},      {"play midi", 0}}
            << QStringList{"1: open /t/a.mid", "1: play from 0",   "1: stop at 1",  "1: play from 1",
                           "1: destroyed",     "2: open /t/a.mid", "2: play from 0"};
        QTest::newRow("aliases ignore case, each has its own device")
            << Script{{"OPEN Sequencer!/t/a.mid ALIAS Midi", 0},
                      {"open sequencer!/t/b.mid alias MIDI", kAlreadyOpen},
                      {"open sequencer!/t/c.mid alias two", 0},
                      {"CLOSE mIdI", 0},
                      {"  play \t two ", 0},
                      {"play midi", kNotOpen}}
            << QStringList{"1: open /t/a.mid", "2: open /t/c.mid", "1: destroyed", "2: play from 0"};
        QTest::newRow("paths with spaces, quoted or not")
            << Script{{"open sequencer!\"/t/my dir/a alias b.mid\" alias q", 0},
                      {"open sequencer!/t/my dir/x alias y/Müsik.mid alias u", 0},
                      {"play q", 0},
                      {"play u", 0}}
            << QStringList{"1: open /t/my dir/a alias b.mid", "2: open /t/my dir/x alias y/Müsik.mid",
                           "1: play from 0", "2: play from 0"};
        QTest::newRow("the device's answer is the command's")
            << Script{{"open sequencer!/t/mute.mid alias midi", 0},
                      {"play midi", code(MediaError::NoAudioOutput)}}
            << QStringList{"1: open /t/mute.mid", "1: play from 0"};
    }

    void scripts() {
        QFETCH(Script, script);
        QFETCH(QStringList, journal);
        Journal done;
        MediaCommandLayer layer(fakes(done));
        for (const Step& step : script) {
            QVERIFY2(layer.send(step.command) == step.answer, qPrintable(step.command));
        }
        QCOMPARE(done.lines, journal);
    }

    void malformedCommandsChangeNothing() {
        Journal done;
        MediaCommandLayer layer(fakes(done));
        QCOMPARE(layer.send(kOpenA), 0);
        for (const char* command :
             {"", "play", "pause midi", "play midi wait", "open sequencer!/t/a.mid",
              "open sequencer!/t/a.mid alias", "open sequencer!/t/a.mid alias two words",
              "open /t/a.mid alias two", "open waveaudio!/t/a.wav alias two", "open sequencer! alias two",
              "open sequencer!\"\" alias two", "open sequencer!\"/t/a.mid alias two",
              "open sequencer!\"/t/a\".mid alias two"}) {
            QVERIFY2(layer.send(command) == code(MediaError::UnknownCommand), command);
        }
        QCOMPARE(done.lines, QStringList{"1: open /t/a.mid"});
    }
};

QTEST_GUILESS_MAIN(MediaCommandLayerTest)
#include "tst_media_command_layer.moc"
