#include "TemporaryFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace tolvex::fileio {

namespace {

constexpr std::string_view kPrefix = ".tolvex-", kSuffix = ".tmp";
constexpr int kHexDigits = 16;

bool isTemporaryName(std::string_view name) {
    if (name.size() != kPrefix.size() + kHexDigits + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix))
        return false;
    const std::string_view digits = name.substr(kPrefix.size(), kHexDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The open file still has this name in the folder: nobody removed it before it was locked.
bool stillNamed(int fd, int folder, const char* name) {
    struct stat opened = {};
    struct stat named = {};
    return ::fstat(fd, &opened) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

// The name is short, so that a target name that just fits its folder's limit still gets a
// temporary file; its random part makes a clash with another run unlikely, and a clash is
// retried.
int createLockedTemporary(const QString& folder, QByteArray& name) {
    for (;;) {
        name = QFile::encodeName(
            QStringLiteral("%1/%2%3%4")
                .arg(folder, QLatin1String(kPrefix))
                .arg(QRandomGenerator::system()->generate64(), kHexDigits, 16, QLatin1Char('0'))
                .arg(QLatin1String(kSuffix)));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        // Where the file system has no locks, no other copy can take one either: nobody removes it.
        if (!locked && errno != EWOULDBLOCK) return fd;
        if (locked && stillNamed(fd, AT_FDCWD, name.constData())) return fd;
        // Another copy's clean-up found the file between its creation and its lock, and removes it.
        ::close(fd);
    }
}

void removeAbandonedTemporaries(const QString& folder) {
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing) return;
    const int folderFd = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (!isTemporaryName(entry->d_name)) continue;
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        // The lock is free only when the file's writer has ended, or has not yet locked it:
        // then it finds the file gone and makes another.
        struct stat file = {};
        if (::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            stillNamed(fd, folderFd, entry->d_name))
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(listing);
}

}  // namespace tolvex::fileio
