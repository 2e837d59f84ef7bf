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
    tolvex::music::MediaCommandLayer media(tolvex::music::synthSequencers(synth));
    tolvex::frmTolvex form(media, synth);
    form.Form_Load();
    form.show();
    tolvex::closeOnQuitSignals(form);
    tolvex::beginMusicWhenExposed(form, synth);
    return application.exec();
}
