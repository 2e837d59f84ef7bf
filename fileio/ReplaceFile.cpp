#include "ReplaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tolvex::fileio {

namespace {

using Step = ReplaceResult::Step;

// A short name, so that a target name that just fits its folder's limit still gets a
// temporary file; its random part makes a clash with another run unlikely, and a clash is
// retried.
int createTemporary(const QString& folder, QByteArray& name) {
    for (;;) {
        name =
            QFile::encodeName(QStringLiteral("%1/.tolvex-%2.tmp")
                                  .arg(folder)
                                  .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0')));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
}

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
    QByteArray temporary;
    const int fd = createTemporary(QFileInfo(path).absolutePath(), temporary);
    if (fd < 0) return {errno, Step::Create};

    bool ok = writeAll(fd, bytes) && (durability == Durability::Cached || ::fsync(fd) == 0);
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), QFile::encodeName(path).constData()) == 0) return {};
    const Step step = ok ? Step::Replace : Step::Write;
    if (ok) error = errno;
    ::unlink(temporary.constData());
    return {error, step};
}

}  // namespace tolvex::fileio
