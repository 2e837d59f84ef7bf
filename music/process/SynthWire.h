#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The program and its synthesizer's process talk over one local socket in frames: a fixed header,
// then `size` bytes (a tune file, or a line of text). Both ends are the same program, forked, so
// the header is sent as it lies in memory.
namespace tolvex::music::wire {

enum class Kind : std::uint32_t {
    // From the program; each is answered by one Reply, in order.
    Start,  // value: a TolvexSynthOutput
    Open,   // bytes: the tune file
    Play,
    Stop,
    Close,
    SetOutputEnabled,  // value: 1 or 0
    Finish,
    // From the process.
    ModuleLoaded,  // sent first; bytes: empty, or why the module cannot be used
    Reply,         // value: a call's result; player: the player an Open made (0 for none)
    Sounding,      // the first frames of a played tune go out to be heard
    Log,           // value: a TolvexLogSeverity; bytes: the line
};

struct Header {
    std::uint64_t player = 0;
    std::uint32_t size = 0;
    std::int32_t value = 0;
    Kind kind = Kind::Reply;
    std::uint32_t reserved = 0;  // keeps the header free of padding
};

struct Frame {
    Header header;
    std::string bytes;
};

// Sends one whole frame; false when the other end has gone. Never raises SIGPIPE.
bool send(int socket, const Header& header, const void* bytes = nullptr, std::size_t size = 0);
// The next whole frame; nothing when the other end has gone or sent what no frame can be.
std::optional<Frame> receive(int socket);

}  // namespace tolvex::music::wire
