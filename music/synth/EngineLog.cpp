#include "EngineLog.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <glib.h>

#include <cstdarg>
#include <cstdio>

namespace tolvex::synth {

namespace {

LogFunction logFunction = nullptr;
void* logContext = nullptr;
thread_local ErrorCapture* capture = nullptr;

void synthMessage(int level, const char* message, void*) {
    // The library's debug messages follow every sample and preset it handles: too many to keep.
    if (level == FLUID_DBG) return;
    const std::string line = std::string("FluidSynth: ") + (message ? message : "");
    if (level == FLUID_ERR && capture)
        capture->hold(message ? message : "");
    else
        say(level == FLUID_PANIC ? kTolvexLogCritical
            : level == FLUID_ERR ? kTolvexLogWarning
                                 : kTolvexLogDebug,
            line);
}

void alsaMessage(const char* file, int line, const char* function, int, const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    say(kTolvexLogDebug,
        std::string("ALSA: ") + file + ':' + std::to_string(line) + ' ' + function + ": " + text);
}

// The sound font library under the synthesizer reports through GLib, in no domain of its own:
// after a failure it has already given its cause to the synthesizer, which told it.
void glibMessage(const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
    say(kTolvexLogDebug, std::string("GLib: ") + (message ? message : ""));
}

}  // namespace

void routeEngineLogs(LogFunction log, void* context) {
    logFunction = log;
    logContext = context;
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
        fluid_set_log_function(level, synthMessage, nullptr);
    snd_lib_error_set_handler(alsaMessage);
    // GLib keeps every handler it is given: this one is given once.
    static const bool glibRouted = g_log_set_handler(nullptr, G_LOG_LEVEL_MASK, glibMessage, nullptr) != 0;
    static_cast<void>(glibRouted);
}

void say(TolvexLogSeverity severity, const std::string& line) {
    if (logFunction) logFunction(logContext, severity, line.c_str());
}

ErrorCapture::ErrorCapture() : outer_(capture) { capture = this; }

ErrorCapture::~ErrorCapture() {
    capture = outer_;
    for (const std::string& error : errors_)
        say(kTolvexLogWarning, "FluidSynth: " + error);
}

std::string ErrorCapture::take() {
    std::string cause;
    for (const std::string& error : errors_)
        cause += (cause.empty() ? ": " : "; ") + error;
    errors_.clear();
    return cause;
}

}  // namespace tolvex::synth
