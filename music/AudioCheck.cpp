#include "AudioCheck.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace tolvex::music {

namespace {

bool acceptsConnection(const QString& socketPath) {
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.isEmpty() || path.size() >= qsizetype(sizeof(address.sun_path))) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool accepted = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return accepted;
}

// The servers the sound library would try, as local socket paths; a remote one gives an
// empty path, which is taken on trust.
QStringList pulseServers() {
    const QString named = qEnvironmentVariable("PULSE_SERVER");
    if (!named.isEmpty()) {
        QStringList servers;
        static const QRegularExpression machinePrefix(QStringLiteral("^\\{[^}]*\\}"));
        for (QString server : named.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            server.remove(machinePrefix);
            if (server.startsWith(QLatin1String("unix:")))
                servers << server.mid(5);
            else if (server.startsWith(QLatin1Char('/')))
                servers << server;
            else
                servers << QString();
        }
        return servers;
    }
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) runtime = QStringLiteral("/run/user/%1").arg(::getuid());
    return {runtime + QStringLiteral("/pulse/native"), QStringLiteral("/run/pulse/native")};
}

bool hasSoundCard() {
    QFile cards(QStringLiteral("/proc/asound/cards"));
    if (!cards.open(QIODevice::ReadOnly)) return false;
    static const QRegularExpression card(QStringLiteral("^\\s*\\d+\\s*\\["),
                                         QRegularExpression::MultilineOption);
    return card.match(QString::fromLatin1(cards.readAll())).hasMatch();
}

}  // namespace

QStringList pulseServerSockets() {
    QStringList sockets = pulseServers();
    sockets.removeAll(QString());
    return sockets;
}

bool isSoundFont(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(12);
    return header.size() == 12 && header.startsWith("RIFF") && header.sliced(8) == "sfbk";
}

std::optional<AudioOutput> answeringOutput() {
    for (const QString& server : pulseServers())
        if (server.isEmpty() || acceptsConnection(server)) return AudioOutput::Pulse;
    if (hasSoundCard()) return AudioOutput::Alsa;
    return std::nullopt;
}

}  // namespace tolvex::music
