#include "TuneFile.h"

#include <QDir>

#include <cerrno>
#include <cstring>

#include "ReplaceFile.h"

namespace tolvex::music {

QString tuneDirectory() {
    QString directory = QDir::tempPath();
    // Empty when the temporary folder does not exist: keep its name, so that the write fails
    // and its report names the folder, instead of writing at the root.
    if (directory.isEmpty()) {
        const QString named = qEnvironmentVariable("TMPDIR");
        directory = QDir::cleanPath(named.isEmpty() ? QStringLiteral("/tmp") : named);
    }
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

TuneWriteResult writeTuneFile(const QString& directory, QByteArrayView bytes) {
    const QString target = directory + QString::fromUtf16(kTuneFileName);
    if (bytes.isEmpty())
        return {ENODATA, QStringLiteral("The program carries no tune to write to \"%1\"").arg(target)};
    // The file is written anew at every start, so it need not survive a power failure.
    const fileio::ReplaceResult result = fileio::replaceFile(target, bytes, fileio::Durability::Cached);
    if (result.error == 0) return {};
    const QString what = result.failedAt == fileio::ReplaceResult::Step::Create
                             ? QStringLiteral("Cannot create a file next to \"%1\"")
                         : result.failedAt == fileio::ReplaceResult::Step::Write
                             ? QStringLiteral("Cannot write \"%1\"")
                             : QStringLiteral("Cannot replace \"%1\"");
    return {result.error, QStringLiteral("%1: %2").arg(what.arg(target),
                                                       QString::fromLocal8Bit(std::strerror(result.error)))};
}

}  // namespace tolvex::music
