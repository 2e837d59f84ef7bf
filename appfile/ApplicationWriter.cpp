#include "ApplicationWriter.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include "NickCheck.h"

namespace tolvex::appfile {

namespace {

WriteResult failure(int code, const QString& path) {
    // Qt does not hand back errno; when the call that failed left none, name the likeliest.
    if (code <= 0) code = EIO;
    return {false, code, QString::fromLocal8Bit(std::strerror(code)), path};
}

}  // namespace

WriteResult writeApplicationFile(const QString& directory, const QString& nick, const QString& text) {
    if (const auto refusal = nickRefusal(nick)) return {false, EINVAL, *refusal, {}};

    const QString path = directory + QLatin1Char('/') + nick + QStringLiteral(".app");
    if (QFileInfo(path).isDir()) return failure(EISDIR, path);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) return failure(errno, path);
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int code = errno;
        file.cancelWriting();
        return failure(code, path);
    }
    errno = 0;
    if (!file.commit()) return failure(errno, path);
    return {true, 0, {}, path};
}

}  // namespace tolvex::appfile
