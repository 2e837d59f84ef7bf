#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "ApplicationText.h"
#include "ApplicationWriter.h"
#include "MessageBoxes.h"
#include "NickCheck.h"
#include "frmTolvex.h"

namespace tolvex {

namespace {

// The failure box: "<code>  <description>", then what to do. True when the applicant chose
// "Save elsewhere…", which it offers only where saving in another folder may help.
bool showWriteFailure(QWidget* window, const appfile::WriteResult& result, bool offerElsewhere) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tolvex"),
                    QStringLiteral("%1  %2").arg(result.code).arg(result.description), QMessageBox::Ok,
                    window);
    if (!result.advice.isEmpty()) box.setText(box.text() + QStringLiteral("\n\n") + result.advice);
    QPushButton* elsewhere =
        offerElsewhere ? box.addButton(QStringLiteral("Save elsewhere\u2026"), QMessageBox::AcceptRole)
                       : nullptr;
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    widenForTitle(box);
    box.exec();
    return elsewhere && box.clickedButton() == elsewhere;
}

// The path the applicant chose for <nick>.app, starting in `folder`, or nothing when the dialog
// was cancelled.
QString askWhereToSave(QWidget* window, const QString& folder, const QString& nick) {
    return QFileDialog::getSaveFileName(window, QStringLiteral("Save the application"),
                                        folder + QLatin1Char('/') + nick + QStringLiteral(".app"),
                                        QStringLiteral("Applications (*.app)"));
}

}  // namespace

// On success the window closes with no message. On failure the applicant is told why and the
// window stays open with every answer, so the nick can be mended and "Finish" clicked again;
// where the program's folder cannot be written, the box also offers to save the application
// elsewhere. An installed copy asks where to save at once, once the nick is accepted.
void frmTolvex::WriteApplication() {
    appfile::Texts captions;
    appfile::Texts answers;
    for (std::int16_t i = 0; i < wizard::kQuestionCount; ++i) {
        captions[std::size_t(i)] = lblCaption(i)->text();
        answers[std::size_t(i)] = txtField(i)->text();
    }
    const QString nick = answers[0];
    const QString text = appfile::applicationText(captions, answers);

    const bool nickAccepted = !appfile::nickRefusal(nick);
    bool ask = nickAccepted && place_.asksWhere;
    appfile::WriteResult result;
    if (!ask) result = appfile::writeApplication(place_.programDirectory, nick, text);
    QString folder;  // where the dialog opens: the documents folder, then the one last chosen
    for (;;) {
        if (ask) {
            if (folder.isEmpty()) folder = documentsFolder();
            const QString path = askWhereToSave(this, folder, nick);
            if (path.isEmpty()) return;
            folder = QFileInfo(path).absolutePath();
            result = appfile::writeApplicationTo(path, text);
        }
        if (result.ok()) break;
        // A name the dialog was given that the nick's rules refuse brings the dialog back.
        const bool nameRefused = ask && result.nameRefused;
        const bool offerElsewhere =
            nickAccepted && !nameRefused && (result.folderNotWritable || place_.asksWhere);
        ask = showWriteFailure(this, result, offerElsewhere) || nameRefused;
        if (!ask) return;
    }
    close();
}

}  // namespace tolvex
