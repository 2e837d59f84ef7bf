#include "DisplayCheck.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace tolvex {

namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

bool canConnectUnix(const QString& path) {
    const QByteArray bytes = QFileInfo(path).absoluteFilePath().toLocal8Bit();
    sockaddr_un address{};
    if (bytes.size() >= qsizetype(sizeof(address.sun_path))) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, bytes.constData(), std::size_t(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return ok;
}

// A local X display (":N" or "unix:N") must have its server's socket; remote ones are left to
// the toolkit.
bool localXServerAnswers(const QString& display) {
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:(\\d+)(?:\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(display);
    if (!match.hasMatch()) return true;
    return canConnectUnix(QStringLiteral("/tmp/.X11-unix/X") + match.captured(1));
}

}  // namespace

std::optional<QString> displayProblem() {
    const QString platform = env("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith(QLatin1String("xcb")) &&
        !platform.startsWith(QLatin1String("wayland")))
        return std::nullopt;
    const QString display = env("DISPLAY");
    if (!display.isEmpty()) {
        if (localXServerAnswers(display)) return std::nullopt;
        return QStringLiteral("cannot open the display %1: no X server answers there").arg(display);
    }
    const QString wayland = env("WAYLAND_DISPLAY");
    if (!wayland.isEmpty() && !platform.startsWith(QLatin1String("xcb"))) return std::nullopt;
    return QStringLiteral(
        "no display to open a window on (DISPLAY is not set); "
        "start TolvexApp in a graphical session, or under Xvfb");
}

}  // namespace tolvex
