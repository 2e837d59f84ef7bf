#include "ApplicationPlace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

#include <utility>

#include "FileLog.h"

namespace tolvex {

ApplicationPlace applicationPlaceOfProgram() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    const QString installed = QFileInfo(QStringLiteral(TOLVEX_INSTALL_BINDIR)).canonicalFilePath();
    return {programDirectory,
            !installed.isEmpty() && QFileInfo(programDirectory).canonicalFilePath() == installed};
}

namespace {

// Without HOME the toolkit takes "/" for the home folder, where the applicant cannot save: the
// system's account database knows the account's home.
QString homeFromAccountDatabase() {
    const passwd* account = ::getpwuid(::geteuid());
    QString home = account && account->pw_dir ? QFile::decodeName(account->pw_dir) : QString();
    if (home.isEmpty() || home == QLatin1String("/")) home = QDir::tempPath();
    static bool told = false;
    if (!std::exchange(told, true))
        qCWarning(appfile::fileLog, "HOME is not set: the save dialog opens in %s", qUtf8Printable(home));
    return home;
}

}  // namespace

QString documentsFolder() {
    if (qEnvironmentVariableIsEmpty("HOME")) {
        const QString home = homeFromAccountDatabase();
        const QString documents = home + QStringLiteral("/Documents");
        return QFileInfo(documents).isDir() ? documents : home;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace tolvex
