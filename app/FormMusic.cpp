#include <QCoreApplication>
#include <QMessageBox>

#include "MediaCommandLayer.h"
#include "MessageBoxes.h"
#include "MusicLog.h"
#include "Resources.h"
#include "TuneFile.h"
#include "TuneLoop.h"
#include "frmTolvex.h"

namespace tolvex {

// Writes the tune to the temporary directory, where the sequencer plays it from. On failure
// the applicant is told once, with the system's error number and text, and MidiPath stays
// empty: the window then opens without music.
void frmTolvex::ExtractMusic() {
    const music::TuneWriteResult written =
        music::writeTuneFile(music::tuneDirectory(), resources::bytesOf(resources::kTune));
    if (written.error == 0) {
        MidiPath = written.path;
        return;
    }
    qCWarning(music::musicLog, "%s: the window opens without music", qUtf8Printable(written.description));
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                    QStringLiteral("%1  %2").arg(written.error).arg(written.description), QMessageBox::Ok);
    widenForTitle(box);
    box.exec();
}

// Every answer is ignored: before the first open there is nothing to stop or close.
void frmTolvex::StopMusic() {
    music_.send(QStringLiteral("stop midi"));
    music_.send(QStringLiteral("close midi"));
}

// Plays the tune once from its start. The path is quoted, so a temporary directory with
// spaces plays as well. A tune that did not open is not played.
void frmTolvex::PlayMusic() {
    StopMusic();
    if (music_.send(QStringLiteral("open sequencer!\"%1\" alias midi").arg(MidiPath)) != 0) {
        showMusicFailure();
        return;
    }
    music_.send(QStringLiteral("play midi"));
}

// The music is decoration: the applicant hears once that it cannot play, not again at every
// restart, where the box would take the keystrokes typed into an answer.
void frmTolvex::showMusicFailure() {
    if (musicFailureShown_) return;
    musicFailureShown_ = true;
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), QStringLiteral("hi"),
                    QMessageBox::Ok, isVisible() ? this : nullptr);
    widenForTitle(box);
    box.exec();
}

// The loop's ticks last as long as the tune: the last of them starts it again.
void frmTolvex::TimerMusic_Timer() {
    ++MusicTicks;
    if (MusicTicks == resources::kTuneLoopTicks) {
        MusicTicks = 0;
        PlayMusic();
    }
}

// The ticks count from the moment the tune sounds, not from the command that asked for it:
// the first start waits for the synthesizer to load, and the tune must end before it restarts.
void frmTolvex::alignTimerToTune() {
    if (TimerMusic.isActive()) TimerMusic.start();
}

// Turns the music off for this run, or on again from the tune's start.
void frmTolvex::toggleMusic() {
    musicOn_ = !musicOn_;
    if (!musicOn_) {
        TimerMusic.stop();
        StopMusic();
        music_.output().setEnabled(false);
        return;
    }
    music_.output().setEnabled(true);
    if (MidiPath.isEmpty()) return;
    MusicTicks = 0;
    PlayMusic();
    TimerMusic.start();
}

}  // namespace tolvex
