#include <QApplication>

#include <cstdio>
#include <future>

#include "DisplayCheck.h"
#include "FluidSequencer.h"
#include "MediaCommandLayer.h"
#include "VersionRecord.h"
#include "frmTolvex.h"

int main(int argc, char* argv[]) {
    if (const auto problem = tolvex::displayProblem()) {
        std::fprintf(stderr, "TolvexApp: %s\n", qPrintable(*problem));
        return 1;
    }
    // The sound font and the audio output load while the toolkit starts and the window is
    // built; the music's first open waits for them. The future waits in its destructor,
    // before the engine's own end at exit.
    const auto engineReady = std::async(std::launch::async, tolvex::music::prepareFluidEngine);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvex::version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvex::version::kFileVersion));

    tolvex::music::MediaCommandLayer media(tolvex::music::fluidSequencerFactory());
    tolvex::frmTolvex form(media);
    form.Form_Load();
    form.show();
    return application.exec();
}
