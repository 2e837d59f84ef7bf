#include <QApplication>

#include <stdexcept>
#include <type_traits>

#include "DisplayStartGuard.h"
#include "FontConfigReader.h"
#include "MediaCommandLayer.h"
#include "MusicSetup.h"
#include "OnScreenWatch.h"
#include "QuitSignals.h"
#include "SynthSequencer.h"
#include "VersionRecord.h"
#include "WindowLog.h"
#include "WindowStart.h"
#include "frmTolvex.h"

namespace tolvex {

// The program from the toolkit's start on, called by its start (launch/Launcher.cpp) once the
// synthesizer's process runs.
extern "C" __attribute__((visibility("default"))) int tolvex_window_main(int argc, char* argv[],
                                                                         const WindowStart& start) try {
    catchQuitSignals();
    // Until the toolkit has connected to the display, every line waits: without a display one line
    // says why, and nothing else.
    DisplayStartGuard displayGuard;
    music::SynthHost synth(musicSettings(start));
    synth.begin(start.synth);
    FontConfigReader fontConfig;
    QApplication application(argc, argv);
    displayGuard.started();
    QApplication::setApplicationName(QString::fromUtf8(version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(version::kFileVersion));
    // Names the desktop entry, so that compositors and docks show the window with its icon and name.
    QApplication::setDesktopFileName(QStringLiteral(TOLVEX_ICON_NAME));

    fontConfig.wait();
    music::MediaCommandLayer music(music::synthSequencers(synth), synth);
    frmTolvex form(music, applicationPlaceOfProgram());
    closeOnQuitSignals(form);
    form.Form_Load();
    if (closedBeforeShown()) return 0;
    form.show();
    const OnScreenWatch onScreen(form, [&synth] { synth.windowShown(); });
    return application.exec();
} catch (const std::logic_error& error) {
    // A wrong layout table: one line that names the row, never an abort.
    qCCritical(windowLog, "%s", error.what());
    return 1;
}

// The launcher finds the function by this name.
static_assert(std::is_same_v<decltype(&tolvex_window_main), WindowMain>);

}  // namespace tolvex
