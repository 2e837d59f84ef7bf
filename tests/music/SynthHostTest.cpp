#include <QSignalSpy>
#include <QTest>

#include <dlfcn.h>

#include "FakeSynthModule.h"
#include "MediaError.h"
#include "SynthHost.h"

using namespace tolvex;

// The host of the synthesizer module, on a module that logs its calls: the order it carries out
// the window's commands in, its shutdown, and its one report of a module that cannot play.
class SynthHostTest : public QObject {
    Q_OBJECT
    FakeSynthState* fake = nullptr;

    static music::SynthHost::Settings settings(const QString& module) {
        return {module, "sound.sf2", "Tolvex App", "tolvexapp"};
    }

private slots:
    void initTestCase() {
        // The host opens the same module: this handle reaches the log it writes.
        void* module = ::dlopen(FAKE_SYNTH_MODULE, RTLD_NOW | RTLD_LOCAL);
        QVERIFY(module);
        fake = reinterpret_cast<FakeSynthStateEntry>(::dlsym(module, "fake_synth_state"))();
        // A sound server answers, whatever the machine has: the host's check takes a remote one
        // on trust, and the fake module connects to nothing.
        qputenv("PULSE_SERVER", "tcp:192.0.2.1");
    }
    void commandsWaitForBeginRunInOrderAndShutdownDrainsThem() {
        *fake = {};
        {
            music::SynthHost host(settings(FAKE_SYNTH_MODULE));
            const auto player = std::make_shared<music::SynthHost::Player>();
            host.open(player, "tune");
            host.play(player);
            host.stop(player);
            host.setEnabled(false);
            host.close(player);
            QCOMPARE(fake->log, "");
            host.begin();
        }
        QCOMPARE(fake->log, "start open play stop off close finish ");
    }
    void aModuleThatCannotPlayIsReportedOnceAndGetsNoPlayer_data() {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("calls");
        QTest::newRow("missing") << QString("/nonexistent/libtolvexsynth.so") << "";
        QTest::newRow("not a library") << QString(__FILE__) << "";
        // begin()'s start fails unheard; the open, asking for the music, tries again and reports.
        QTest::newRow("failing to start") << QString(FAKE_SYNTH_MODULE) << "start start ";
    }
    void aModuleThatCannotPlayIsReportedOnceAndGetsNoPlayer() {
        QFETCH(QString, module);
        QFETCH(QString, calls);
        *fake = {.log = {}, .startResult = music::code(music::MediaError::NoAudioOutput)};
        music::SynthHost host(settings(module));
        QSignalSpy failed(&host, &music::MusicOutput::failed);
        host.begin();
        const auto player = std::make_shared<music::SynthHost::Player>();
        host.open(player, "tune");
        host.play(player);
        QVERIFY(failed.wait(5000));
        QTest::qWait(50);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(QString::fromStdString(fake->log), calls);
    }
};

QTEST_MAIN(SynthHostTest)
#include "SynthHostTest.moc"
