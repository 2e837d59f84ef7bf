// The engine as its output drives it: one thread renders without pause while another opens,
// plays, stops and closes players, as the music thread does at every restart of the tune. Run
// under ThreadSanitizer, a render or a player call that skips the engine's lock shows as a
// data race; without it the library's player can crash inside a render. The rendering must
// also carry the tune. Plain C++, so that only the engine and the library run under the sanitizer.

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "Engine.h"
#include "EngineLog.h"

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) return fail("usage: EngineTest SOUND_FONT MIDI_FILE");
    std::ifstream file(argv[2], std::ios::binary);
    const std::vector<char> tune{std::istreambuf_iterator<char>(file), {}};

    tolvex::synth::routeEngineLogs(nullptr, nullptr);
    tolvex::synth::Engine engine;
    if (!engine.loadSoundFont(argv[1])) return fail("the sound font does not load");
    if (engine.loadSoundFont("/nonexistent.sf2")) return fail("a missing sound font loads");

    std::atomic<bool> done{false};
    std::atomic<float> loudest{0};
    std::atomic<int> tunesBegun{0};
    std::thread audio([&] {
        std::vector<float> samples(2 * 256);
        while (!done) {
            tunesBegun += engine.renderInterleaved(samples.data(), 256);
            for (const float sample : samples)
                loudest = std::max(loudest.load(), std::abs(sample));
        }
    });
    // Each start is awaited until a render has carried it, so that a busy machine, which may not
    // run the audio thread for a while, cannot merge two starts into one.
    const auto playCarried = [&](fluid_player_t* player) {
        const int before = tunesBegun;
        if (!engine.play(player)) return false;
        for (int waited = 0; tunesBegun == before && waited < 5000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return tunesBegun > before;
    };
    bool played = true;
    for (int cycle = 0; cycle < 40 && played; ++cycle) {
        fluid_player_t* player = engine.open(tune.data(), tune.size());
        played = player && playCarried(player);
        if (!played) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(cycle == 0 ? 500 : 5));
        engine.stop(player);
        played = playCarried(player);
        engine.close(player);
    }
    // The audio thread ends before any verdict: a joinable thread at return would abort the test.
    done = true;
    audio.join();
    if (!played) return fail("a tune was not played, or no render told that it began");
    if (loudest < 0.05f) return fail("the rendering stays silent");
    if (tunesBegun != 80) return fail("the renders told of more tunes beginning than were started");
    std::puts("PASS");
    return 0;
}
