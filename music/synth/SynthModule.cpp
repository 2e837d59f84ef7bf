// The module's entry: the calls the program makes, from its one music thread, on the engine and
// its output.

#include <malloc.h>

#include <memory>
#include <string>

#include "Engine.h"
#include "EngineLog.h"
#include "MediaError.h"
#include "Output.h"
#include "SynthModuleApi.h"

namespace tolvex::synth {

namespace {

using music::code;
using music::MediaError;

struct Module {
    std::unique_ptr<Engine> engine;
    std::unique_ptr<Output> output;
    int outputKind = kTolvexOutputPulse;
    StreamNames names;
    TuneSounding tuneSounding;
    bool outputEnabled = true;
};

Module& module() {
    static Module instance;
    return instance;
}

int openOutput() {
    Module& m = module();
    m.output = m.outputKind == kTolvexOutputPulse ? openPulseOutput(*m.engine, m.names, m.tuneSounding)
                                                  : openAlsaOutput(*m.engine, m.tuneSounding);
    return m.output ? 0 : code(MediaError::NoAudioOutput);
}

int startEngine(const TolvexSynthConfig* config) {
    Module& m = module();
    if (!m.engine) {
        quietEngineLogs();
        auto engine = std::make_unique<Engine>();
        if (!engine->loadSoundFont(config->soundFont)) return code(MediaError::NoSoundFont);
        m.engine = std::move(engine);
        // Reading the sound font leaves freed pages in this thread's allocation arena; hand them
        // back before the output starts (measured: 2 MB of the program's peak).
        malloc_trim(0);
    }
    m.outputKind = config->output;
    m.names = {config->appName, config->appIconName};
    m.tuneSounding = [sounding = config->tuneSounding, context = config->context] { sounding(context); };
    if (m.output || !m.outputEnabled) return 0;
    return openOutput();
}

void* openPlayer(const void* bytes, std::size_t size) { return module().engine->open(bytes, size); }

int playPlayer(void* player) {
    return module().engine->play(static_cast<fluid_player_t*>(player)) ? 0 : code(MediaError::PlayerFailed);
}

int stopPlayer(void* player) {
    module().engine->stop(static_cast<fluid_player_t*>(player));
    return 0;
}

void closePlayer(void* player) { module().engine->close(static_cast<fluid_player_t*>(player)); }

int setOutputEnabled(int enabled) {
    Module& m = module();
    m.outputEnabled = enabled != 0;
    if (!m.outputEnabled) {
        m.output.reset();
        return 0;
    }
    return m.output || !m.engine ? 0 : openOutput();
}

void finish() {
    Module& m = module();
    m.output.reset();
    m.engine.reset();
}

constexpr TolvexSynthApi kApi{kTolvexSynthAbi, startEngine, openPlayer,       playPlayer,
                              stopPlayer,      closePlayer, setOutputEnabled, finish};

}  // namespace

}  // namespace tolvex::synth

extern "C" __attribute__((visibility("default"))) const TolvexSynthApi* tolvex_synth_api(void) {
    return &tolvex::synth::kApi;
}
