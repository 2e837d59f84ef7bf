#include <QCoreApplication>
#include <QMessageBox>

#include "ApplicationText.h"
#include "ApplicationWriter.h"
#include "frmTolvex.h"

namespace tolvex {

// On success the window closes with no message. On failure the applicant is told why and
// the window stays open with every answer, so the nick can be mended and "Finish" clicked again.
void frmTolvex::WriteApplication() {
    appfile::Texts captions;
    appfile::Texts answers;
    for (std::int16_t i = 0; i < wizard::kQuestionCount; ++i) {
        captions[std::size_t(i)] = lblCaption(i)->text();
        answers[std::size_t(i)] = txtField(i)->text();
    }
    const appfile::WriteResult result = appfile::writeApplicationFile(
        QCoreApplication::applicationDirPath(), answers[0], appfile::applicationText(captions, answers));
    if (result.ok) {
        close();
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tolvex"),
                    QStringLiteral("%1  %2").arg(result.code).arg(result.description), QMessageBox::Ok, this);
    box.exec();
}

}  // namespace tolvex
