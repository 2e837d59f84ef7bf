#include "SynthServer.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>

#include "AudioCheck.h"
#include "MediaError.h"
#include "ModuleFileCheck.h"
#include "SynthModuleApi.h"
#include "SynthWire.h"

namespace tolvex::music {

namespace {

constexpr int kLowestPriority = 19;

// The module's threads report while the main thread answers the program's calls.
std::mutex sending;
int programSocket = -1;

void sendToProgram(const wire::Header& header, const std::string& text = {}) {
    const std::lock_guard lock(sending);
    wire::send(programSocket, header, text.data(), text.size());
}

// The module's entry, or why it cannot be used.
std::variant<const TolvexSynthApi*, std::string> loadModule(const std::string& path) {
    // A module cut short would end this process inside dlopen: it is taken as missing.
    if (!isWholeModuleFile(path)) return "is missing, cut short or not a shared library for this machine";
    // RTLD_LOCAL: the synthesizer's libraries stay the module's own. The module is never closed.
    // RTLD_LAZY: only the functions called are bound (measured: 1.3 ms of the process's time
    // less); a library without a function it should have ends this process, not the window.
    void* library = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!library) return std::string("cannot be loaded: ") + ::dlerror();
    const auto entry = reinterpret_cast<TolvexSynthEntry>(::dlsym(library, "tolvex_synth_api"));
    if (!entry) return std::string("is not TolvexApp's: ") + ::dlerror();
    const TolvexSynthApi* api = entry();
    if (!api || api->abi != kTolvexSynthAbi)
        return "is of another version of TolvexApp (interface " + std::to_string(api ? api->abi : 0) +
               ", not " + std::to_string(int(kTolvexSynthAbi)) + ")";
    return api;
}

// The answer to one of the program's calls.
wire::Header answer(const TolvexSynthApi& api, const TolvexSynthConfig& config, const wire::Frame& call) {
    void* player = reinterpret_cast<void*>(call.header.player);
    wire::Header reply;
    switch (call.header.kind) {
        case wire::Kind::Start: {
            // Made already, the engine is not made again: the start opens the output. An engine
            // that could not be made is tried again.
            TolvexSynthConfig started = config;
            started.output = call.header.value;
            reply.value = api.start(&started);
            break;
        }
        case wire::Kind::Open:
            reply.player = reinterpret_cast<std::uint64_t>(api.open(call.bytes.data(), call.bytes.size()));
            break;
        case wire::Kind::Play: reply.value = api.play(player); break;
        case wire::Kind::Stop: reply.value = api.stop(player); break;
        case wire::Kind::Close: api.close(player); break;
        case wire::Kind::SetOutputEnabled: reply.value = api.setOutputEnabled(call.header.value); break;
        case wire::Kind::Finish: api.finish(); break;
        default: reply.value = code(MediaError::PlayerFailed);
    }
    return reply;
}

}  // namespace

void serveSynth(int socket, const SynthSettings& settings) {
    programSocket = socket;
    const TolvexSynthConfig config{settings.soundFont.c_str(),
                                   kTolvexOutputPulse,
                                   settings.appName.c_str(),
                                   settings.appIconName.c_str(),
                                   [](void*) { sendToProgram({.kind = wire::Kind::Sounding}); },
                                   [](void*, int severity, const char* line) {
                                       sendToProgram({.value = severity, .kind = wire::Kind::Log}, line);
                                   },
                                   nullptr};
    // The module loads and the engine is made before the program asks, on a thread of the lowest
    // priority: it takes a processor only when the window's start leaves one free. The process's
    // main thread keeps its own priority for the output's threads, which it starts later: a thread
    // cannot raise its priority again. The program's calls wait in the socket until then. The check
    // of the sound font is silent: the program tells what its own finds.
    const TolvexSynthApi* api = nullptr;
    std::thread([&] {
        ::setpriority(PRIO_PROCESS, ::gettid(), kLowestPriority);
        const auto loaded = loadModule(settings.modulePath);
        api = std::holds_alternative<std::string>(loaded) ? nullptr : std::get<0>(loaded);
        sendToProgram({.kind = wire::Kind::ModuleLoaded},
                      api ? std::string() : std::get<std::string>(loaded));
        if (api && isSoundFont(settings.soundFont)) api->prepare(&config);
    }).join();

    while (const std::optional<wire::Frame> call = wire::receive(socket))
        sendToProgram(api ? answer(*api, config, *call)
                          : wire::Header{.value = code(MediaError::PlayerFailed)});
    ::_exit(0);
}

}  // namespace tolvex::music
