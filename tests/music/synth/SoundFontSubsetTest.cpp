// The engine reads only the tune's presets from the sound font: the tune must sound the same, sample
// for sample, as the library playing it from the whole font; a font that cannot give those presets
// must still play, read whole, with one line saying why. Plain C++, so that it also runs under the
// sanitizers.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

constexpr int kFrames = 512, kSeconds = 20;  // every instrument of the tune has entered by then

std::vector<char> readFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool sameRendering(const char* soundFont, const std::vector<char>& tune) {
    tolvex::synth::Engine engine;
    if (!engine.loadSoundFont(soundFont)) return false;
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

// A sound font of the test's own, in memory, named by a path while it lives.
struct FontInMemory {
    explicit FontInMemory(const std::vector<char>& bytes) : fd(memfd_create("font", MFD_CLOEXEC)) {
        if (write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) std::abort();
    }
    ~FontInMemory() { close(fd); }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }
    int fd;
};

// Why the sound font in `bytes` is read whole, as an image of its piano and drums says.
std::string whyWhole(const std::vector<char>& bytes) {
    constexpr SoundFontPreset kPianoAndDrums[] = {{0, 0}, {128, 0}};
    std::string why;
    return SoundFontImage::make(FontInMemory(bytes).path(), kPianoAndDrums, why) ? "read in part" : why;
}

// Where the table `id` of the font's preset data begins (its records), and its size.
std::pair<std::size_t, std::uint32_t> table(const std::vector<char>& font, const char* id) {
    const auto found = std::search(font.begin(), font.end(), id, id + 4);
    std::uint32_t size = 0;
    if (found != font.end()) std::memcpy(&size, &found[4], 4);
    return {std::size_t(found - font.begin()) + 8, size};
}

std::uint16_t u16(const std::vector<char>& font, std::size_t at) {
    return std::uint16_t(std::uint8_t(font[at]) | std::uint8_t(font[at + 1]) << 8);
}

// The font with its bank 0 program 73, which the tune plays, moved to bank 1.
std::vector<char> withoutTheFlute(std::vector<char> font) {
    const auto [presets, size] = table(font, "phdr");
    for (std::size_t preset = presets; preset + 38 <= presets + size; preset += 38)
        if (u16(font, preset + 20) == 73 && u16(font, preset + 22) == 0) font[preset + 22] = 1;
    return font;
}

// The font with the piano (bank 0 program 0), which the tune does not play, pointing at
// instruments it does not have: the library rejects the whole font.
std::vector<char> withBrokenPiano(std::vector<char> font) {
    const auto [presets, presetsSize] = table(font, "phdr");
    const std::size_t bags = table(font, "pbag").first, gens = table(font, "pgen").first;
    for (std::size_t preset = presets; preset + 76 <= presets + presetsSize; preset += 38) {
        if (u16(font, preset + 20) != 0 || u16(font, preset + 22) != 0) continue;
        for (std::size_t bag = u16(font, preset + 24); bag < u16(font, preset + 38 + 24); ++bag)
            for (std::size_t gen = u16(font, bags + 4 * bag); gen < u16(font, bags + 4 * bag + 4); ++gen)
                if (u16(font, gens + 4 * gen) == 41)
                    font[gens + 4 * gen + 2] = font[gens + 4 * gen + 3] = char(0xFF);
    }
    return font;
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
    const FontInMemory noFlute(withoutTheFlute(font));
    tolvex::synth::Engine engine;
    if (!engine.loadSoundFont(noFlute.path().c_str()))
        return fail("a sound font without one of the tune's presets does not load whole");
    if (logged.empty() ||
        logged.back() != "the sound font " + noFlute.path() + " is read whole: it has no bank 0 program 73")
        return fail("reading the whole sound font does not say why:", logged.empty() ? "" : logged.back());

    // Only the tune's presets are read: a flaw elsewhere in the font, which the library rejects
    // when it reads the font whole, does not matter.
    const FontInMemory brokenPiano(withBrokenPiano(font));
    logged.clear();
    if (!tolvex::synth::Engine().loadSoundFont(brokenPiano.path().c_str()) || !logged.empty())
        return fail("the engine reads more of the sound font than the tune's presets:",
                    logged.empty() ? "" : logged.front());
    fluid_synth_t* whole = new_fluid_synth(engine.settings());
    const bool wholeLoads = fluid_synth_sfload(whole, brokenPiano.path().c_str(), 1) != FLUID_FAILED;
    delete_fluid_synth(whole);
    if (wholeLoads && logged.empty()) return fail("the broken piano is no flaw to the library");

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
