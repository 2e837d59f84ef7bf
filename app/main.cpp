#include <QApplication>

#include <cstdio>

#include "DisplayCheck.h"
#include "MediaCommandLayer.h"
#include "MusicSetup.h"
#include "QuitSignals.h"
#include "SynthSequencer.h"
#include "VersionRecord.h"
#include "frmTolvex.h"

int main(int argc, char* argv[]) {
    tolvex::catchQuitSignals();
    if (const auto problem = tolvex::displayProblem()) {
        std::fprintf(stderr, "TolvexApp: %s\n", qPrintable(*problem));
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvex::version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvex::version::kFileVersion));
    // Names the desktop entry, so that compositors and docks show the window with its icon and name.
    QApplication::setDesktopFileName(QStringLiteral(TOLVEX_ICON_NAME));

    tolvex::music::SynthHost synth(tolvex::musicSettings());
    tolvex::music::MediaCommandLayer media(tolvex::music::synthSequencers(synth));
    tolvex::frmTolvex form(media, synth, tolvex::applicationPlaceOfProgram());
    tolvex::closeOnQuitSignals(form);
    form.Form_Load();
    if (tolvex::closedBeforeShown()) return 0;
    form.show();
    tolvex::beginMusicWhenExposed(form, synth);
    return application.exec();
}
