#include <QApplication>

#include <cstdio>
#include <stdexcept>

#include "DisplayCheck.h"
#include "MediaCommandLayer.h"
#include "MusicSetup.h"
#include "QuitSignals.h"
#include "SynthSequencer.h"
#include "VersionRecord.h"
#include "frmTolvex.h"

int main(int argc, char* argv[]) try {
    if (const auto problem = tolvex::displayProblem()) {
        std::fprintf(stderr, "TolvexApp: %s\n", qPrintable(*problem));
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvex::version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvex::version::kFileVersion));

    tolvex::music::SynthHost synth(tolvex::musicSettings());
    tolvex::music::MediaCommandLayer music(tolvex::music::synthSequencers(synth), synth);
    tolvex::frmTolvex form(music);
    form.Form_Load();
    form.show();
    tolvex::closeOnQuitSignals(form);
    tolvex::beginMusicWhenExposed(form, synth);
    return application.exec();
} catch (const std::logic_error& error) {
    // A wrong layout table: one line that names the row, never an abort.
    std::fprintf(stderr, "TolvexApp: %s\n", error.what());
    return 1;
}
