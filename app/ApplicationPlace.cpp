#include "ApplicationPlace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tolvex {

ApplicationPlace applicationPlaceOfProgram() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    const QString installed = QFileInfo(QStringLiteral(TOLVEX_INSTALL_BINDIR)).canonicalFilePath();
    return {programDirectory,
            !installed.isEmpty() && QFileInfo(programDirectory).canonicalFilePath() == installed};
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace tolvex
