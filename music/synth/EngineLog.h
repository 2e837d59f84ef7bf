#pragma once

#include <string>
#include <vector>

#include "SynthModuleApi.h"

namespace tolvex::synth {

using LogFunction = void (*)(void* context, int severity, const char* line);

// Sends every message of the synthesizer library and of ALSA to `log` (none: nowhere), so that
// none reaches the terminal on its own: the library's errors and panics as warnings and critical
// lines, its warnings, notes and ALSA's own messages as debug lines, which say nothing on the
// designed road. Set before the module starts a thread; safe to call again with the same `log`.
void routeEngineLogs(LogFunction log, void* context);

// One line of the module's own, to the same place.
void say(TolvexLogSeverity severity, const std::string& line);

// Holds back the library's errors on this thread while it lives, so that a failure is told in
// one line with its cause (take()), not in one line of the library's and one of the module's.
// Errors not taken are told as they would have been when it ends.
class ErrorCapture {
public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    void hold(std::string error) { errors_.push_back(std::move(error)); }
    // The errors held so far, joined, as the cause of a failure: ": <errors>", or nothing.
    std::string take();

private:
    ErrorCapture* outer_;
    std::vector<std::string> errors_;
};

}  // namespace tolvex::synth
