#include <QTest>

#include "MediaCommand.h"

using tolvex::music::MediaCommand;
using tolvex::music::parseMediaCommand;

Q_DECLARE_METATYPE(MediaCommand::Verb)

class MediaCommandTest : public QObject {
    Q_OBJECT
private slots:
    void parsesCommands_data();
    void parsesCommands();
    void refusesMalformedCommands_data();
    void refusesMalformedCommands();
};

void MediaCommandTest::parsesCommands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<MediaCommand::Verb>("verb");
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("path");

    using Verb = MediaCommand::Verb;
    QTest::newRow("play") << "play midi" << Verb::Play << "midi" << "";
    QTest::newRow("stop") << "stop midi" << Verb::Stop << "midi" << "";
    QTest::newRow("close") << "close midi" << Verb::Close << "midi" << "";
    QTest::newRow("verb in capitals") << "CLOSE Midi" << Verb::Close << "Midi" << "";
    QTest::newRow("extra blanks") << "  stop \t midi  " << Verb::Stop << "midi" << "";
    QTest::newRow("open") << "open sequencer!/tmp/TXmidi.mid alias midi" << Verb::Open << "midi"
                          << "/tmp/TXmidi.mid";
    QTest::newRow("open in capitals") << "OPEN Sequencer!/tmp/TXmidi.mid ALIAS midi" << Verb::Open
                                      << "midi" << "/tmp/TXmidi.mid";
    QTest::newRow("unquoted path with spaces")
        << "open sequencer!/tmp/my temp dir/TXmidi.mid alias midi" << Verb::Open << "midi"
        << "/tmp/my temp dir/TXmidi.mid";
    QTest::newRow("unquoted path holding the word alias")
        << "open sequencer!/tmp/x alias y/TXmidi.mid alias midi" << Verb::Open << "midi"
        << "/tmp/x alias y/TXmidi.mid";
    QTest::newRow("quoted path with spaces")
        << "open sequencer!\"/tmp/my temp dir/TXmidi.mid\" alias midi" << Verb::Open << "midi"
        << "/tmp/my temp dir/TXmidi.mid";
    QTest::newRow("quoted path holding the word alias")
        << "open sequencer!\"/tmp/a alias b.mid\" alias midi" << Verb::Open << "midi"
        << "/tmp/a alias b.mid";
    QTest::newRow("unquoted path holding a quote")
        << "open sequencer!/tmp/it\"s.mid alias midi" << Verb::Open << "midi" << "/tmp/it\"s.mid";
    QTest::newRow("non-ASCII path") << "open sequencer!/tmp/Müsik/TXmidi.mid alias midi"
                                    << Verb::Open << "midi" << "/tmp/Müsik/TXmidi.mid";
}

void MediaCommandTest::parsesCommands()
{
    QFETCH(QString, text);
    QFETCH(MediaCommand::Verb, verb);
    QFETCH(QString, alias);
    QFETCH(QString, path);

    const std::optional<MediaCommand> command = parseMediaCommand(text);
    QVERIFY(command.has_value());
    QCOMPARE(command->verb, verb);
    QCOMPARE(command->alias, alias);
    QCOMPARE(command->path, path);
}

void MediaCommandTest::refusesMalformedCommands_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("verb only") << "play";
    QTest::newRow("unknown verb") << "pause midi";
    QTest::newRow("options after the alias") << "play midi from 0";
    QTest::newRow("open without alias") << "open sequencer!/tmp/TXmidi.mid";
    QTest::newRow("open with the keyword but no alias") << "open sequencer!/tmp/TXmidi.mid alias";
    QTest::newRow("open with two words after alias") << "open sequencer!/tmp/TXmidi.mid alias midi now";
    QTest::newRow("open without device type") << "open /tmp/TXmidi.mid alias midi";
    QTest::newRow("open of another device type") << "open waveaudio!/tmp/a.wav alias midi";
    QTest::newRow("open with no path") << "open sequencer! alias midi";
    QTest::newRow("open with an empty quoted path") << "open sequencer!\"\" alias midi";
    QTest::newRow("open with an unclosed quote") << "open sequencer!\"/tmp/TXmidi.mid alias midi";
    QTest::newRow("open with text after the quote") << "open sequencer!\"/tmp/a\".mid alias midi";
}

void MediaCommandTest::refusesMalformedCommands()
{
    QFETCH(QString, text);
    QVERIFY(!parseMediaCommand(text).has_value());
}

QTEST_GUILESS_MAIN(MediaCommandTest)
#include "tst_media_command.moc"
