#include "TuneFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace tolvex::music {

namespace {

TuneWriteResult failure(int error, const QString& what) {
    return {error, QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error)))};
}

// A new, empty file next to the target, created exclusively so that nothing planted at its
// name is followed. The name's random part makes a clash with another run unlikely; a clash
// is retried.
int createSibling(const QString& target, QByteArray& name) {
    for (;;) {
        name =
            QFile::encodeName(QStringLiteral("%1.%2.tmp")
                                  .arg(target)
                                  .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0')));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

}  // namespace

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
    QByteArray temporary;
    const int fd = createSibling(target, temporary);
    if (fd < 0) {
        return failure(errno, QStringLiteral("Cannot create a file next to \"%1\"").arg(target));
    }
    const bool written = writeAll(fd, bytes);
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.constData());
        return failure(error, QStringLiteral("Cannot write \"%1\"").arg(target));
    }
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return failure(error, QStringLiteral("Cannot replace \"%1\"").arg(target));
    }
    return {};
}

}  // namespace tolvex::music
