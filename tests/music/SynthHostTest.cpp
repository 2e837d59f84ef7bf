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
        QTest::newRow("missing") << QString("/nonexistent/libtolvexsynth.so");
        QTest::newRow("not a library") << QString(__FILE__);
        QTest::newRow("failing to start") << QString(FAKE_SYNTH_MODULE);
    }
    void aModuleThatCannotPlayIsReportedOnceAndGetsNoPlayer() {
        QFETCH(QString, module);
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
        QVERIFY2(fake->log.empty() || fake->log == "start ", fake->log.c_str());
    }
};

QTEST_MAIN(SynthHostTest)
#include "SynthHostTest.moc"
