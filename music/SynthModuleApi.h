#pragma once

// What the program and its synthesizer module (libtolvexsynth.so, the one part of the program
// that links the synthesizer and audio libraries) agree on. The program loads the module in a
// process of its own, forked as the program starts, so that neither those libraries nor the sound
// font slow the window's start; every call below is made from that process's main thread.

#include <cstddef>

extern "C" {

enum { kTolvexSynthAbi = 3 };

enum TolvexSynthOutput { kTolvexOutputPulse = 1, kTolvexOutputAlsa = 2 };

// How much a line the module logs matters: debug lines are hidden unless asked for; a warning
// tells why the music falls back; a critical line, that the synthesizer itself gave up.
enum TolvexLogSeverity { kTolvexLogDebug = 0, kTolvexLogWarning = 1, kTolvexLogCritical = 2 };

struct TolvexSynthConfig {
    const char* soundFont;    // the sound font file to load
    int output;               // a TolvexSynthOutput: the output the program found answering
    const char* appName;      // how the desktop's mixer names the sound stream
    const char* appIconName;  // the icon the mixer shows beside it
    // Called on the audio thread when the first frames of a played tune go out to be heard.
    void (*tuneSounding)(void* context);
    // Called on any of the module's threads with one line, without its end: why something failed or
    // fell back (the library's own errors among them), or, at debug severity, what the module does.
    void (*log)(void* context, int severity, const char* line);
    void* context;
};

struct TolvexSynthApi {
    int abi;  // kTolvexSynthAbi
    // Makes the engine (the sound font loaded), once, without the output: the process makes it
    // before the program asks for the music. 0, or a MediaError code.
    int (*prepare)(const TolvexSynthConfig* config);
    // Makes the engine, if it is not made yet, and opens the output, each once; a call after a
    // failure tries again. 0, or a MediaError code.
    int (*start)(const TolvexSynthConfig* config);
    // A player of the Standard MIDI File in `bytes`, at its start; nothing when it cannot be made.
    void* (*open)(const void* bytes, std::size_t size);
    int (*play)(void* player);
    int (*stop)(void* player);
    void (*close)(void* player);
    // Off: the output closes and its thread ends, so the music costs nothing; on: it opens again
    // (a sound server that is away just then is connected to when it returns).
    int (*setOutputEnabled)(int enabled);
    // Closes the output and the engine; every player must be closed first.
    void (*finish)(void);
};

// The module's one exported symbol.
const TolvexSynthApi* tolvex_synth_api(void);
typedef const TolvexSynthApi* (*TolvexSynthEntry)(void);
}
