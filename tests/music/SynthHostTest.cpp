#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "MediaError.h"
#include "SynthHost.h"

using namespace tolvex;

// The host of the synthesizer module's process, on a module that writes down its calls: the order
// it carries out the window's commands in, its shutdown, and its one report of a module that
// cannot play.
class SynthHostTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    QString log, soundFont;

    music::SynthHost::Settings settings(const QString& module, const QString& font = "sound.sf2") {
        return {QFile::encodeName(module).toStdString(), QFile::encodeName(font).toStdString(), "Tolvex App",
                "tolvexapp"};
    }
    // Forks the process as the program does, and hands it to the host, whose window is shown.
    static void begin(music::SynthHost& host, const music::SynthHost::Settings& settings) {
        host.begin(music::launchSynthProcess(settings));
        host.windowShown();
    }
    QString calls() {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // Begins the host, opens and plays the tune `times` times, and counts the failure reports
    // once the first has come and the rest have had time to follow.
    static qsizetype failuresAfterPlaying(music::SynthHost& host, const music::SynthHost::Settings& settings,
                                          int times) {
        QSignalSpy failed(&host, &music::MusicOutput::failed);
        begin(host, settings);
        const auto player = std::make_shared<music::SynthHost::Player>();
        for (int i = 0; i < times; ++i) {
            host.open(player, "tune");
            host.play(player);
        }
        if (!failed.wait(5000)) return 0;
        QTest::qWait(50);
        return failed.size();
    }

private slots:
    void initTestCase() {
        QVERIFY(folder.isValid());
        log = folder.filePath("calls");
        qputenv("FAKE_SYNTH_LOG", QFile::encodeName(log));
        // A sound server answers, whatever the machine has: the host's check takes a remote one
        // on trust, and the fake module connects to nothing.
        qputenv("PULSE_SERVER", "tcp:192.0.2.1");
        soundFont = folder.filePath("font.sf2");
        QFile font(soundFont);
        QVERIFY(font.open(QIODevice::WriteOnly) && font.write("RIFF\0\0\0\0sfbk", 12) == 12);
    }
    void init() {
        QFile::remove(log);
        qunsetenv("FAKE_SYNTH_START");
        qunsetenv("FAKE_SYNTH_CRASH");
        qunsetenv("FAKE_SYNTH_HANG");
    }
    void commandsWaitForTheShownWindowRunInOrderAndShutdownDrainsThem_data() {
        QTest::addColumn<bool>("usableFont");
        QTest::addColumn<QString>("calls");
        QTest::newRow("font unreadable") << false << "off start open play stop close finish ";
        // The process makes the engine as soon as it has the module, before any command; the
        // host's start then opens the output.
        QTest::newRow("font usable") << true << "prepare off start open play stop close finish ";
    }
    void commandsWaitForTheShownWindowRunInOrderAndShutdownDrainsThem() {
        QFETCH(bool, usableFont);
        QFETCH(QString, calls);
        {
            const auto hostSettings = settings(FAKE_SYNTH_MODULE, usableFont ? soundFont : "sound.sf2");
            music::SynthHost host(hostSettings);
            const auto player = std::make_shared<music::SynthHost::Player>();
            host.setEnabled(false);
            host.open(player, "tune");
            host.play(player);
            host.stop(player);
            host.close(player);
            QTest::qWait(100);
            QCOMPARE(this->calls(), "");
            host.begin(music::launchSynthProcess(hostSettings));
            // Until the window is on the screen, only the process's own start runs.
            QTest::qWait(300);
            QCOMPARE(this->calls(), usableFont ? "prepare " : "");
            host.windowShown();
        }
        QCOMPARE(this->calls(), calls);
    }
    void aModuleThatCannotPlayIsReportedOnceAndGetsNoPlayer_data() {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QByteArray>("failure");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("warning");
        QTest::newRow("missing") << QString("/nonexistent/libtolvexsynth.so") << QByteArray() << ""
                                 << "is missing, cut short";
        QTest::newRow("not a library") << QString(__FILE__) << QByteArray() << ""
                                       << "is missing, cut short";
        // The process's own making of the engine fails unheard; the open, asking for the music,
        // tries again and reports.
        QTest::newRow("failing to start")
            << QString(FAKE_SYNTH_MODULE) << QByteArray("FAKE_SYNTH_START") << "prepare start "
            << "";
    }
    void aModuleThatCannotPlayIsReportedOnceAndGetsNoPlayer() {
        QFETCH(QString, module);
        QFETCH(QByteArray, failure);
        QFETCH(QString, calls);
        QFETCH(QString, warning);
        if (!failure.isEmpty())
            qputenv(failure, QByteArray::number(music::code(music::MediaError::NoAudioOutput)));
        if (!warning.isEmpty()) QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        const auto hostSettings = settings(module, soundFont);
        music::SynthHost host(hostSettings);
        QCOMPARE(failuresAfterPlaying(host, hostSettings, 1), 1);
        QCOMPARE(this->calls(), calls);
    }
    // The synthesizer's process ends at the first play: one line says so, the next open gets no
    // player and no command waits for an answer, and the host closes.
    void aProcessThatEndsIsToldOnceAndCommandsFail() {
        qputenv("FAKE_SYNTH_CRASH", "1");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^the synthesizer's process ended \\(signal 9"));
        const auto hostSettings = settings(FAKE_SYNTH_MODULE);
        music::SynthHost host(hostSettings);
        QCOMPARE(failuresAfterPlaying(host, hostSettings, 2), 1);
        QCOMPARE(this->calls(), "start open ");
    }
    // A start the process never answers (a sound server that accepts and never answers) does not
    // keep the closing program for seconds: the process is ended, with one line, not as a crash.
    void aProcessThatDoesNotAnswerIsEndedAsTheHostCloses() {
        qputenv("FAKE_SYNTH_HANG", "1");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^the synthesizer's process did not finish within 1 s"));
        QTest::failOnWarning(QRegularExpression("process ended"));
        QElapsedTimer closing;
        {
            const auto hostSettings = settings(FAKE_SYNTH_MODULE, soundFont);
            music::SynthHost host(hostSettings);
            begin(host, hostSettings);
            host.open(std::make_shared<music::SynthHost::Player>(), "tune");
            QTest::qWait(100);
            closing.start();
        }
        QCOMPARE_LT(closing.elapsed(), 10000);  // the start answers after 20 s
    }
};

QTEST_MAIN(SynthHostTest)
#include "SynthHostTest.moc"
