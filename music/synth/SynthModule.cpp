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

std::unique_ptr<Output> openOutput(Engine& engine, PulseStart start) {
    Module& m = module();
    if (m.outputKind == kTolvexOutputPulse) return openPulseOutput(engine, m.names, m.tuneSounding, start);
    ErrorCapture errors;
    std::unique_ptr<Output> output = openAlsaOutput(engine, m.tuneSounding);
    if (!output) say(kTolvexLogWarning, "cannot open the default ALSA sound device" + errors.take());
    return output;
}

// The engine, made once with the sound font loaded; the sound server's connection, when asked
// for, is made while the sound font loads. 0, or a MediaError code.
int makeEngine(const TolvexSynthConfig* config, bool withOutput) {
    Module& m = module();
    m.outputKind = config->output;
    m.names = {config->appName, config->appIconName};
    m.tuneSounding = [sounding = config->tuneSounding, context = config->context] { sounding(context); };
    if (m.engine) return 0;
    routeEngineLogs(config->log, config->context);
    ErrorCapture errors;
    auto engine = std::make_unique<Engine>();
    // The library's own audio drivers start rendering at once: they open once the sound font is
    // there.
    std::unique_ptr<Output> output = withOutput && m.outputEnabled && m.outputKind == kTolvexOutputPulse
                                         ? openOutput(*engine, PulseStart::Once)
                                         : nullptr;
    if (!engine->loadSoundFont(config->soundFont)) {
        say(kTolvexLogWarning,
            std::string("cannot load the sound font ") + config->soundFont + errors.take());
        return code(MediaError::NoSoundFont);
    }
    m.engine = std::move(engine);
    m.output = std::move(output);
    // Reading the sound font leaves freed pages in this thread's allocation arena; hand them
    // back (measured: 2 MB of the program's peak).
    malloc_trim(0);
    return 0;
}

int prepareEngine(const TolvexSynthConfig* config) { return makeEngine(config, false); }

int startEngine(const TolvexSynthConfig* config) {
    Module& m = module();
    if (const int made = makeEngine(config, true)) return made;
    if (!m.outputEnabled) return 0;
    if (!m.output) m.output = openOutput(*m.engine, PulseStart::Once);
    if (m.output && !m.output->waitUntilOpen()) m.output.reset();
    return m.output ? 0 : code(MediaError::NoAudioOutput);
}

void* openPlayer(const void* bytes, std::size_t size) {
    ErrorCapture errors;
    void* player = module().engine->open(bytes, size);
    if (!player) say(kTolvexLogWarning, "the synthesizer cannot load the tune" + errors.take());
    return player;
}

int playPlayer(void* player) {
    Module& m = module();
    ErrorCapture errors;
    if (!m.engine->play(static_cast<fluid_player_t*>(player))) {
        say(kTolvexLogWarning, "the synthesizer cannot start the tune" + errors.take());
        return code(MediaError::PlayerFailed);
    }
    if (m.output) m.output->tunePlayed();
    return 0;
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
    if (m.output || !m.engine) return 0;
    // The sound server may be away just now: the music comes back when the server does.
    m.output = openOutput(*m.engine, PulseStart::KeepTrying);
    return m.output ? 0 : code(MediaError::NoAudioOutput);
}

void finish() {
    Module& m = module();
    m.output.reset();
    m.engine.reset();
}

constexpr TolvexSynthApi kApi{kTolvexSynthAbi, prepareEngine, startEngine,      openPlayer, playPlayer,
                              stopPlayer,      closePlayer,   setOutputEnabled, finish};

}  // namespace

}  // namespace tolvex::synth

extern "C" __attribute__((visibility("default"))) const TolvexSynthApi* tolvex_synth_api(void) {
    return &tolvex::synth::kApi;
}
