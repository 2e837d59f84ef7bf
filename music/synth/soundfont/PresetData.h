#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolvex::synth {

// A preset of a sound font, as a MIDI channel selects it.
struct SoundFontPreset {
    int bank;
    int program;
};

// The preset data of a sound font (the contents of its "pdta" list, after the list's type) rebuilt
// with only `presets` and the instruments they play, as a whole "pdta" list chunk. The synthesizer
// keeps every zone of every preset and instrument it reads, so reading only the tune's saves most
// of its memory. Sample headers are kept whole: they point into the sample data, which stays as it
// is. Nothing when the data is not laid out as the synthesizer reads it or lacks one of `presets`;
// `why` then says so.
std::optional<std::vector<std::uint8_t>> presetDataWithOnly(std::span<const std::uint8_t> data,
                                                            std::span<const SoundFontPreset> presets,
                                                            std::string& why);

}  // namespace tolvex::synth
