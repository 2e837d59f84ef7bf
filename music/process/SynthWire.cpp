#include "SynthWire.h"

#include <sys/socket.h>
#include <sys/uio.h>

#include <cerrno>

namespace tolvex::music::wire {

namespace {

// Far above any tune file the program accepts; a larger size means the stream is garbled.
constexpr std::uint32_t kLargestFrame = 64 << 20;

bool receiveAll(int socket, void* into, std::size_t size) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t got = ::recv(socket, bytes, size, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        size -= std::size_t(got);
    }
    return true;
}

}  // namespace

bool send(int socket, const Header& header, const void* bytes, std::size_t size) {
    Header sent = header;
    sent.size = std::uint32_t(size);
    iovec parts[2] = {{&sent, sizeof sent}, {const_cast<void*>(bytes), size}};
    msghdr message = {};
    message.msg_iov = parts;
    message.msg_iovlen = size > 0 ? 2 : 1;
    while (message.msg_iovlen > 0) {
        const ssize_t written = ::sendmsg(socket, &message, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        // A large tune may go out in parts: skip what was sent.
        std::size_t done = std::size_t(written);
        while (message.msg_iovlen > 0 && done >= message.msg_iov->iov_len) {
            done -= message.msg_iov->iov_len;
            ++message.msg_iov;
            --message.msg_iovlen;
        }
        if (message.msg_iovlen > 0) {
            message.msg_iov->iov_base = static_cast<char*>(message.msg_iov->iov_base) + done;
            message.msg_iov->iov_len -= done;
        }
    }
    return true;
}

std::optional<Frame> receive(int socket) {
    Frame frame;
    if (!receiveAll(socket, &frame.header, sizeof frame.header) || frame.header.size > kLargestFrame)
        return std::nullopt;
    frame.bytes.resize(frame.header.size);
    if (!receiveAll(socket, frame.bytes.data(), frame.bytes.size())) return std::nullopt;
    return frame;
}

}  // namespace tolvex::music::wire
