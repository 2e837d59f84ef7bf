// A synthesizer module that plays nothing: it logs every call the host makes, for the host's test.

#include "FakeSynthModule.h"
#include "SynthModuleApi.h"

namespace {

FakeSynthState state;
int player;  // the handle of every player it makes

int logged(const char* call, int result = 0) {
    state.log += call;
    return result;
}

constexpr TolvexSynthApi kApi{
    kTolvexSynthAbi,
    [](const TolvexSynthConfig*) { return logged("start ", state.startResult); },
    [](const void*, std::size_t) -> void* { return logged("open ") == 0 ? &player : nullptr; },
    [](void*) { return logged("play "); },
    [](void*) { return logged("stop "); },
    [](void*) { logged("close "); },
    [](int enabled) { return logged(enabled ? "on " : "off "); },
    [] { logged("finish "); },
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const TolvexSynthApi* tolvex_synth_api(void) {
    return &kApi;
}
extern "C" __attribute__((visibility("default"))) FakeSynthState* fake_synth_state(void) { return &state; }
