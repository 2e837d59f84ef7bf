// A synthesizer module that plays nothing: it logs every call the host makes, for the host's test.

#include "FakeSynthModule.h"
#include "SynthModuleApi.h"

namespace {

FakeSynthState state;
int player;  // the handle of every player it makes

int start(const TolvexSynthConfig*) {
    state.log += "start ";
    return state.startResult;
}
void* open(const void*, std::size_t) {
    state.log += "open ";
    return &player;
}
int play(void*) {
    state.log += "play ";
    return 0;
}
int stop(void*) {
    state.log += "stop ";
    return 0;
}
void close(void*) { state.log += "close "; }
int setOutputEnabled(int enabled) {
    state.log += enabled ? "on " : "off ";
    return 0;
}
void finish() { state.log += "finish "; }

constexpr TolvexSynthApi kApi{kTolvexSynthAbi, start, open, play, stop, close, setOutputEnabled, finish};

}  // namespace

extern "C" __attribute__((visibility("default"))) const TolvexSynthApi* tolvex_synth_api(void) {
    return &kApi;
}
extern "C" __attribute__((visibility("default"))) FakeSynthState* fake_synth_state(void) { return &state; }
