#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ApplicationText.h"
#include "ApplicationWriter.h"
#include "MessageBoxes.h"
#include "frmTolvex.h"

namespace tolvex {

// On success the window closes with no message. On failure the applicant is told why and the
// window stays open with every answer, so the nick can be mended and "Finish" clicked again;
// where the program's folder cannot be written (an installed copy), the box also offers to
// save the application elsewhere.
void frmTolvex::WriteApplication() {
    appfile::Texts captions;
    appfile::Texts answers;
    for (std::int16_t i = 0; i < wizard::kQuestionCount; ++i) {
        captions[std::size_t(i)] = lblCaption(i)->text();
        answers[std::size_t(i)] = txtField(i)->text();
    }
    const QString nick = answers[0];
    const QString text = appfile::applicationText(captions, answers);
    appfile::WriteResult result =
        appfile::writeApplication(QCoreApplication::applicationDirPath(), nick, text);
    while (!result.ok()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tolvex"),
                        QStringLiteral("%1  %2").arg(result.code).arg(result.description), QMessageBox::Ok,
                        this);
        if (!result.advice.isEmpty()) box.setText(box.text() + QStringLiteral("\n\n") + result.advice);
        QPushButton* elsewhere =
            result.folderNotWritable
                ? box.addButton(QStringLiteral("Save elsewhere\u2026"), QMessageBox::AcceptRole)
                : nullptr;
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        widenForTitle(box);
        box.exec();
        if (!elsewhere || box.clickedButton() != elsewhere) return;
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save the application"),
            QDir::home().filePath(nick + QStringLiteral(".app")), QStringLiteral("Applications (*.app)"));
        if (path.isEmpty()) return;
        result = appfile::writeApplicationTo(path, text);
    }
    close();
}

}  // namespace tolvex
