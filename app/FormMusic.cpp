#include <QCoreApplication>
#include <QMessageBox>

#include "MediaCommandLayer.h"
#include "Resources.h"
#include "TuneFile.h"
#include "frmTolvex.h"

namespace tolvex {

// Writes the tune to the temporary directory, where the sequencer plays it from. On failure
// the applicant is told once, with the system's error number and text, and MidiPath stays
// empty: the window then opens without music.
void frmTolvex::ExtractMusic() {
    const QString directory = music::tuneDirectory();
    const music::TuneWriteResult written =
        music::writeTuneFile(directory, resources::bytesOf(resources::kTune));
    if (written.error == 0) {
        MidiPath = directory + QString::fromUtf16(music::kTuneFileName);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                    QStringLiteral("%1  %2").arg(written.error).arg(written.description), QMessageBox::Ok);
    box.exec();
}

// Every answer is ignored: before the first open there is nothing to stop or close.
void frmTolvex::StopMusic() {
    media_.send(QStringLiteral("stop midi"));
    media_.send(QStringLiteral("close midi"));
}

// Plays the tune once from its start. The path is quoted, so a temporary directory with
// spaces plays as well.
void frmTolvex::PlayMusic() {
    StopMusic();
    const int opened = media_.send(QStringLiteral("open sequencer!\"%1\" alias midi").arg(MidiPath));
    // The music is decoration: the applicant hears once that it cannot play, not again at
    // every restart, where the box would take the keystrokes typed into an answer.
    if (opened != 0 && !musicFailureShown_) {
        musicFailureShown_ = true;
        QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), QStringLiteral("hi"),
                        QMessageBox::Ok);
        box.exec();
    }
    media_.send(QStringLiteral("play midi"));
}

// Sixteen ticks last as long as the tune: every sixteenth tick starts it again.
void frmTolvex::TimerMusic_Timer() {
    ++MusicTicks;
    if (MusicTicks == 16) {
        MusicTicks = 0;
        PlayMusic();
    }
}

}  // namespace tolvex
