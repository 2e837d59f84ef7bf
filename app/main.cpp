#include <QApplication>

#include <cstdio>

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
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvex::version::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvex::version::kFileVersion));

    tolvex::music::MediaCommandLayer media(tolvex::music::fluidSequencerFactory());
    tolvex::frmTolvex form(media);
    form.Form_Load();
    form.show();
    return application.exec();
}
