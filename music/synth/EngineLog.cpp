#include "EngineLog.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <array>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace tolvex::music {

namespace {

// Plain storage without a destructor: the audio thread may still log while the program's
// static objects are being destroyed at exit.
std::mutex logMutex;
std::array<char, 512> lastError{};

void keep(const char* prefix, const char* format, std::va_list arguments) {
    std::array<char, 512> text{};
    const int written = std::snprintf(text.data(), text.size(), "%s", prefix);
    if (written >= 0 && static_cast<std::size_t>(written) < text.size()) {
        std::vsnprintf(text.data() + written, text.size() - written, format, arguments);
    }
    const std::lock_guard lock(logMutex);
    lastError = text;
}

void keepFormatted(const char* prefix, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    keep(prefix, format, arguments);
    va_end(arguments);
}

void onSynthMessage(int level, const char* message, void*) {
    if (level == FLUID_PANIC || level == FLUID_ERR) {
        keepFormatted("", "%s", message);
    }
}

void onAlsaMessage(const char*, int, const char* function, int, const char* format, ...) {
    std::array<char, 64> prefix{};
    std::snprintf(prefix.data(), prefix.size(), "ALSA %s: ", function != nullptr ? function : "");
    std::va_list arguments;
    va_start(arguments, format);
    keep(prefix.data(), format, arguments);
    va_end(arguments);
}

}  // namespace

void quietEngineLogs() {
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) {
        fluid_set_log_function(level, onSynthMessage, nullptr);
    }
    snd_lib_error_set_handler(onAlsaMessage);
}

QString lastEngineError() {
    const std::lock_guard lock(logMutex);
    return QString::fromLocal8Bit(lastError.data());
}

}  // namespace tolvex::music
