#include <QApplication>

#include <stdexcept>

#include "DisplayStartGuard.h"
#include "FontConfigReader.h"
#include "MediaCommandLayer.h"
#include "MusicSetup.h"
#include "QuitSignals.h"
#include "SynthSequencer.h"
#include "VersionRecord.h"
#include "WindowLog.h"
#include "frmTolvex.h"

int main(int argc, char* argv[]) try {
    tolvex::catchQuitSignals();
    // Until the toolkit has connected to the display, every line waits: without a display one line
    // says why, and nothing else.
    tolvex::DisplayStartGuard displayGuard;
    // Then, while the program is still one thread: the synthesizer's process forks and loads
    // the music beside the window's start.
    tolvex::music::SynthHost synth(tolvex::musicSettings());
    synth.begin();
    tolvex::FontConfigReader fontConfig;
    QApplication application(argc, argv);
    displayGuard.started();
    QApplication::setApplicationName(QString::fromUtf8(tolvex::version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvex::version::kFileVersion));
    // Names the desktop entry, so that compositors and docks show the window with its icon and name.
    QApplication::setDesktopFileName(QStringLiteral(TOLVEX_ICON_NAME));

    fontConfig.wait();
    tolvex::music::MediaCommandLayer music(tolvex::music::synthSequencers(synth), synth);
    tolvex::frmTolvex form(music, tolvex::applicationPlaceOfProgram());
    tolvex::closeOnQuitSignals(form);
    form.Form_Load();
    if (tolvex::closedBeforeShown()) return 0;
    form.show();
    return application.exec();
} catch (const std::logic_error& error) {
    // A wrong layout table: one line that names the row, never an abort.
    qCCritical(tolvex::windowLog, "%s", error.what());
    return 1;
}
