#include "AudioCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tolvex::music {

namespace {

bool acceptsConnection(const std::string& socketPath) {
    sockaddr_un address{};
    if (socketPath.empty() || socketPath.size() >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool accepted = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return accepted;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The servers the sound library would try, as local socket paths; a remote one gives an
// empty path, which is taken on trust.
std::vector<std::string> pulseServers() {
    const std::string named = environment("PULSE_SERVER");
    if (!named.empty()) {
        std::vector<std::string> servers;
        std::istringstream words(named);
        for (std::string server; words >> server;) {
            // A "{machine}" prefix names the machine the server runs on.
            if (const std::size_t end = server.find('}'); server.starts_with('{') && end != std::string::npos)
                server.erase(0, end + 1);
            if (server.starts_with("unix:"))
                servers.push_back(server.substr(5));
            else if (server.starts_with('/'))
                servers.push_back(server);
            else
                servers.emplace_back();
        }
        return servers;
    }
    std::string runtime = environment("XDG_RUNTIME_DIR");
    if (runtime.empty()) runtime = "/run/user/" + std::to_string(::getuid());
    return {runtime + "/pulse/native", "/run/pulse/native"};
}

// A line of /proc/asound/cards that begins a card: its number, then " [".
bool isCardLine(const std::string& line) {
    std::size_t at = 0;
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at])))
        ++at;
    const std::size_t digits = at;
    while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])))
        ++at;
    if (at == digits) return false;
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at])))
        ++at;
    return at < line.size() && line[at] == '[';
}

bool hasSoundCard() {
    std::ifstream cards("/proc/asound/cards");
    for (std::string line; std::getline(cards, line);)
        if (isCardLine(line)) return true;
    return false;
}

}  // namespace

std::vector<std::string> pulseServerSockets() {
    std::vector<std::string> sockets = pulseServers();
    std::erase(sockets, std::string());
    return sockets;
}

bool isSoundFont(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char header[12];
    if (!file.read(header, sizeof header)) return false;
    return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "sfbk", 4) == 0;
}

std::optional<AudioOutput> answeringOutput() {
    for (const std::string& server : pulseServers())
        if (server.empty() || acceptsConnection(server)) return AudioOutput::Pulse;
    if (hasSoundCard()) return AudioOutput::Alsa;
    return std::nullopt;
}

}  // namespace tolvex::music
