#include <QApplication>

#include <stdexcept>

#include "DisplayCheck.h"
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
    if (const auto problem = tolvex::displayProblem()) {
        qCCritical(tolvex::displayLog, "%s", qUtf8Printable(*problem));
        return 1;
    }
    // First of all, while the program is one thread: the synthesizer's process forks and loads
    // the music beside the window's start.
    tolvex::music::SynthHost synth(tolvex::musicSettings());
    synth.begin();
    tolvex::FontConfigReader fontConfig;
    QApplication application(argc, argv);
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
