#include "ReplaceFile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TemporaryFile.h"

namespace tolvex::fileio {

namespace {

using Step = ReplaceResult::Step;

bool writeAll(int fd, QByteArrayView bytes) {
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, std::size_t(left));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

}  // namespace

ReplaceResult replaceFile(const QString& path, QByteArrayView bytes, Durability durability) {
    const QString folder = QFileInfo(path).absolutePath();
    removeAbandonedTemporaries(folder);
    QByteArray temporary;
    const int fd = createLockedTemporary(folder, temporary);
    if (fd < 0) return {errno, Step::Create};

    // An earlier file keeps its permission bits (a private one stays private); a new one gets
    // the umask's. A link's bits are not its target's: a file replacing a link is new.
    struct stat earlier = {};
    const bool keepMode =
        ::lstat(QFile::encodeName(path).constData(), &earlier) == 0 && S_ISREG(earlier.st_mode);
    // Closing the file reports a write error that showed late; a copy of the descriptor keeps
    // the lock until the file has its final name, so that no other copy's clean-up takes it.
    const int lock = ::dup(fd);
    bool ok = lock >= 0 && (!keepMode || ::fchmod(fd, earlier.st_mode & 0777) == 0) && writeAll(fd, bytes) &&
              (durability == Durability::Cached || ::fsync(fd) == 0);
    int error = errno;
    Step step = Step::Write;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        ok = false;
        error = errno;
        step = Step::Replace;
    }
    if (!ok) ::unlink(temporary.constData());
    if (lock >= 0) ::close(lock);
    if (ok) return {};
    return {error, step};
}

}  // namespace tolvex::fileio
