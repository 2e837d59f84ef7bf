#include "EngineLog.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

namespace tolvex::synth {

namespace {

void ignoreSynthMessage(int, const char*, void*) {}

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void quietEngineLogs() {
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
        fluid_set_log_function(level, ignoreSynthMessage, nullptr);
    snd_lib_error_set_handler(ignoreAlsaMessage);
}

}  // namespace tolvex::synth
