#include "TuneFile.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "MusicLog.h"
#include "ReplaceFile.h"

namespace tolvex::music {

namespace {

bool ownedByAnotherAccount(const QString& path) {
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && status.st_uid != ::geteuid();
}

// Whether `path` is a file of this account's that holds exactly the tune: a link is not
// followed, and a pipe is opened without waiting for a writer and is no file.
bool holdsTheTune(const QString& path, QByteArrayView bytes) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status = {};
    QFile file;
    const bool holds = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
                       status.st_size == bytes.size() &&
                       file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) &&
                       file.readAll() == bytes;
    if (!file.isOpen()) ::close(fd);
    return holds;
}

// Replaces the file at `path` by the tune, unless it holds the tune already: replacing it frees
// the old file's blocks, which on a file system that discards freed blocks at once waits for the
// disk (1.5 ms of every start, measured here).
TuneWriteResult writeTo(const QString& path, QByteArrayView bytes) {
    if (holdsTheTune(path, bytes)) return {0, {}, path};
    // The file is written again at any start that finds it changed, so it need not survive a
    // power failure.
    const fileio::ReplaceResult result = fileio::replaceFile(path, bytes, fileio::Durability::Cached);
    if (result.error == 0) return {0, {}, path};
    const QString what = result.failedAt == fileio::ReplaceResult::Step::Create
                             ? QStringLiteral("Cannot create a file next to \"%1\"")
                         : result.failedAt == fileio::ReplaceResult::Step::Write
                             ? QStringLiteral("Cannot write \"%1\"")
                             : QStringLiteral("Cannot replace \"%1\"");
    return {result.error,
            QStringLiteral("%1: %2").arg(what.arg(path), QString::fromLocal8Bit(std::strerror(result.error))),
            {}};
}

// The user's own folder beside the shared tune files, made at the first start that needs it and
// used again at every start after, so that an account never has more than one.
TuneWriteResult writeInOwnFolder(const QString& directory, QByteArrayView bytes) {
    const QString folder = directory + QStringLiteral("TolvexApp-%1").arg(::geteuid());
    const QByteArray name = QFile::encodeName(folder);
    struct stat status = {};
    if ((::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) ||
        ::lstat(name.constData(), &status) != 0) {
        const int error = errno;
        return {error,
                QStringLiteral("Cannot create the folder \"%1\": %2")
                    .arg(folder, QString::fromLocal8Bit(std::strerror(error))),
                {}};
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid())
        return {EEXIST, QStringLiteral("\"%1\" is not a folder of this account's").arg(folder), {}};
    return writeTo(folder + QLatin1Char('/') + QString::fromUtf16(kTuneFileName), bytes);
}

}  // namespace

QString tuneDirectory() {
    QString directory = qEnvironmentVariable("TMPDIR");
    if (directory.isEmpty()) directory = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (directory.isEmpty()) directory = QStringLiteral("/tmp");
    directory = QDir::cleanPath(directory);
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

TuneWriteResult writeTuneFile(const QString& directory, QByteArrayView bytes) {
    const QString designed = directory + QString::fromUtf16(kTuneFileName);
    if (bytes.isEmpty())
        return {ENODATA, QStringLiteral("The program carries no tune to write to \"%1\"").arg(designed), {}};
    TuneWriteResult written = writeTo(designed, bytes);
    if (written.error == 0 || !ownedByAnotherAccount(designed)) return written;

    // A shared folder such as /tmp may hold another account's tune file, which this account may not
    // replace: it must not silence this account's music. The user's own name comes next, then,
    // should another account hold that too, a folder of the user's own.
    const QString ownName = directory + QStringLiteral("TXmidi-%1.mid").arg(::geteuid());
    written = writeTo(ownName, bytes);
    if (written.error != 0 && ownedByAnotherAccount(ownName)) written = writeInOwnFolder(directory, bytes);
    if (written.error == 0)
        qCWarning(musicLog, "%s belongs to another account: the tune is written to %s",
                  qUtf8Printable(designed), qUtf8Printable(written.path));
    return written;
}

}  // namespace tolvex::music
