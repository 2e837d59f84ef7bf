// A synthesizer module that plays nothing: it writes the name of every call the host makes, and a
// space, to the file named by FAKE_SYNTH_LOG, for the host's test. Its prepare and its start answer
// FAKE_SYNTH_START (0 when unset), its start after 20 s with FAKE_SYNTH_HANG; FAKE_SYNTH_CRASH
// makes its play kill the synthesizer's process.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "SynthModuleApi.h"

namespace {

int player;  // the handle of every player it makes

int logged(const char* call, int result = 0) {
    if (FILE* log = std::fopen(std::getenv("FAKE_SYNTH_LOG"), "a")) {
        std::fputs(call, log);
        std::fclose(log);
    }
    return result;
}

int startResult() {
    const char* result = std::getenv("FAKE_SYNTH_START");
    return result ? std::atoi(result) : 0;
}

constexpr TolvexSynthApi kApi{
    kTolvexSynthAbi,
    [](const TolvexSynthConfig*) { return logged("prepare ", startResult()); },
    [](const TolvexSynthConfig*) {
        if (std::getenv("FAKE_SYNTH_HANG")) std::this_thread::sleep_for(std::chrono::seconds(20));
        return logged("start ", startResult());
    },
    [](const void*, std::size_t) -> void* { return logged("open ") == 0 ? &player : nullptr; },
    [](void*) {
        if (std::getenv("FAKE_SYNTH_CRASH")) std::raise(SIGKILL);
        return logged("play ");
    },
    [](void*) { return logged("stop "); },
    [](void*) { logged("close "); },
    [](int enabled) { return logged(enabled ? "on " : "off "); },
    [] { logged("finish "); },
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const TolvexSynthApi* tolvex_synth_api(void) {
    return &kApi;
}
