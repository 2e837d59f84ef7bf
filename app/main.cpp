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
    if (const auto problem = tolvex::displayProblem()) {
        std::fprintf(stderr, "TolvexApp: %s\n", qPrintable(*problem));
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvex::version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvex::version::kFileVersion));

    tolvex::music::SynthHost synth(tolvex::musicSettings());
    // The synthesizer loads on its own thread while the window is built, so that the tune sounds
    // as soon as the window plays it.
    synth.begin();
    tolvex::music::MediaCommandLayer media(tolvex::music::synthSequencers(synth));
    tolvex::frmTolvex form(media, synth);
    form.Form_Load();
    form.show();
    tolvex::closeOnQuitSignals(form);
    return application.exec();
}
