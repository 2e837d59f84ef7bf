// The engine reads only the tune's presets from the sound font: the tune must sound the same, sample
// for sample, as the library playing it from the whole font; a font that cannot give those presets
// must still play, read whole, with one line saying why. Plain C++, so that it also runs under the
// sanitizers.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Engine.h"
#include "EngineLog.h"
#include "SoundFontImage.h"

namespace {

using tolvex::synth::SoundFontImage;
using tolvex::synth::SoundFontPreset;

constexpr SoundFontPreset kTunePresets[] = {TOLVEX_TUNE_PRESETS};
constexpr int kFrames = 512, kSeconds = 20;  // every instrument of the tune has entered by then

std::vector<char> readFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool sameRendering(const char* soundFont, const std::vector<char>& tune) {
    tolvex::synth::Engine engine;
    if (!engine.loadSoundFont(soundFont, kTunePresets)) return false;
    fluid_synth_t* whole = new_fluid_synth(engine.settings());
    fluid_player_t* wholePlayer = new_fluid_player(whole);
    fluid_player_t* player = engine.open(tune.data(), tune.size());
    bool same = fluid_synth_sfload(whole, soundFont, 1) != FLUID_FAILED && player && engine.play(player) &&
                fluid_player_add_mem(wholePlayer, tune.data(), tune.size()) == FLUID_OK &&
                fluid_player_play(wholePlayer) == FLUID_OK;
    std::vector<float> ours(2 * kFrames), theirs(2 * kFrames);
    for (int block = 0; same && block < kSeconds * int(engine.sampleRate()) / kFrames; ++block) {
        engine.renderInterleaved(ours.data(), kFrames);
        fluid_synth_write_float(whole, kFrames, theirs.data(), 0, 2, theirs.data(), 1, 2);
        same = ours == theirs;
    }
    if (player) engine.close(player);
    delete_fluid_player(wholePlayer);
    delete_fluid_synth(whole);
    return same;
}

// Why the sound font in `bytes` is read whole, as the engine's image of it says.
std::string whyWhole(const std::vector<char>& bytes) {
    const int fd = memfd_create("font", MFD_CLOEXEC);
    std::string why = "cannot write the test's file";
    if (write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) &&
        SoundFontImage::make("/proc/self/fd/" + std::to_string(fd), kTunePresets, why))
        why = "read in part";
    close(fd);
    return why;
}

std::vector<std::string> logged;  // the warnings

int fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "FAIL: %s %s\n", what, detail.c_str());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) return fail("usage: SoundFontSubsetTest SOUND_FONT MIDI_FILE");
    tolvex::synth::routeEngineLogs(
        [](void*, int severity, const char* line) {
            if (severity != kTolvexLogDebug) logged.emplace_back(line);
        },
        nullptr);
    // A part the library could not read would be read whole by its own loader, with warnings.
    if (!sameRendering(argv[1], readFile(argv[2])) || !logged.empty())
        return fail("the tune does not sound as it does from the whole sound font:",
                    logged.empty() ? "" : logged.front());

    const std::vector<char> font = readFile(argv[1]);
    tolvex::synth::Engine engine;
    if (!engine.loadSoundFont(argv[1], std::vector<SoundFontPreset>{{0, 0}, {7, 0}}))
        return fail("a sound font without one of the presets does not load whole");
    if (logged.empty() || logged.back() != std::string("the sound font ") + argv[1] +
                                               " is read whole: it has no bank 7 program 0")
        return fail("reading the whole sound font does not say why:", logged.empty() ? "" : logged.back());

    std::vector<char> other = font;
    std::memcpy(other.data() + 8, "DLS ", 4);
    std::vector<char> cut(font.begin(), font.end() - 100);
    // Every preset zone's generators said to begin past their table's end.
    std::vector<char> wrong = font;
    const char* bagsId = "pbag";
    const auto bags = std::search(wrong.begin(), wrong.end(), bagsId, bagsId + 4);
    if (bags == wrong.end()) return fail("the sound font has no preset bags");
    std::uint32_t bagsSize = 0;
    std::memcpy(&bagsSize, &bags[4], 4);
    for (std::uint32_t bag = 0; bag < bagsSize; bag += 4)
        bags[8 + bag] = bags[9 + bag] = char(0xFF);
    for (const auto& [bytes, why] : {std::pair{other, "it is not a SoundFont 2 file"},
                                     {cut, "its preset data is cut short"},
                                     {wrong, "its presets do not fit its preset tables"},
                                     {font, "read in part"}})
        if (whyWhole(bytes) != why) return fail(why, "but: " + whyWhole(bytes));
    std::puts("PASS");
    return 0;
}
