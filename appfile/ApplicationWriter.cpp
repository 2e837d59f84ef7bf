#include "ApplicationWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileLog.h"
#include "NickCheck.h"
#include "ReplaceFile.h"

namespace tolvex::appfile {

namespace {

const QString kExtension = QStringLiteral(".app");

// In a shared folder (mode 1777) only a file's owner may replace it: the folder can be written,
// but this name is another account's.
bool nameHeldByAnotherAccount(const QString& path) {
    struct stat status = {};
    const QByteArray name = QFile::encodeName(path);
    return ::lstat(name.constData(), &status) == 0 && status.st_uid != ::geteuid() &&
           ::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK | X_OK) == 0;
}

QString adviceFor(int code, const QString& path) {
    const QFileInfo file(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    switch (code) {
        case ENAMETOOLONG: {
            const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
            const long room = (limit > 0 ? limit : 255) - QFile::encodeName(kExtension).size();
            return QStringLiteral(
                       "The nick is too long to name a file: at most %1 bytes fit in a file name "
                       "(most letters take one byte, accented letters two). Please shorten it.")
                .arg(room);
        }
        case EISDIR:
            return QStringLiteral(
                       "A folder named \"%1\" stands where the application file should be written, in "
                       "%2. Please move that folder away, or use another nick.")
                .arg(file.fileName(), folder);
        case EACCES:
        case EPERM:
            if (nameHeldByAnotherAccount(path))
                return QStringLiteral(
                           "The name \"%1\" is taken in %2 by another account's file, which you may not "
                           "replace. Choose \"Save elsewhere\u2026\" to save the application under another "
                           "name or in another folder.")
                    .arg(file.fileName(), folder);
            [[fallthrough]];
        case EROFS:
            return QStringLiteral(
                       "The folder %1 cannot be written to. Choose \"Save elsewhere\u2026\" to save the "
                       "application in a folder of your own.")
                .arg(folder);
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral(
                       "There is no room left on the disk for %1; nothing was written. Free some space "
                       "and click \"Finish\" again.")
                .arg(QDir::toNativeSeparators(file.absoluteFilePath()));
        default:
            return QStringLiteral("The application file %1 could not be written; nothing was changed.")
                .arg(QDir::toNativeSeparators(file.absoluteFilePath()));
    }
}

}  // namespace

WriteResult writeApplicationTo(const QString& path, const QString& text) {
    if (const auto refusal = fileNameRefusal(QFileInfo(path).fileName()))
        return {EINVAL, *refusal, {}, false, true};
    const fileio::ReplaceResult result = fileio::replaceFile(path, text.toUtf8(), fileio::Durability::OnDisk);
    if (result.error == 0) return {};
    qCWarning(fileLog, "cannot write the application file %s: %s", qUtf8Printable(path),
              std::strerror(result.error));
    return {result.error, QString::fromLocal8Bit(std::strerror(result.error)), adviceFor(result.error, path),
            result.error == EACCES || result.error == EPERM || result.error == EROFS};
}

WriteResult writeApplication(const QString& directory, const QString& nick, const QString& text) {
    if (const auto refusal = nickRefusal(nick)) return {EINVAL, *refusal, {}, false};
    return writeApplicationTo(directory + QLatin1Char('/') + nick + kExtension, text);
}

}  // namespace tolvex::appfile
