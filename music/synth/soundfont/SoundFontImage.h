#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "PresetData.h"

namespace tolvex::synth {

// A sound font file as the synthesizer is to read it: the file's own bytes up to its preset data,
// then that data rebuilt with only some presets (see presetDataWithOnly). The file stays open
// while the image lives, because the synthesizer reads samples from it as presets are selected;
// a file replaced on disk meanwhile is still read as it was.
class SoundFontImage {
public:
    // The image of the file at `path` with only `presets`. Nothing when the file cannot be read
    // (`why` left empty: the synthesizer, reading it whole, tells why), or when it is not a sound
    // font laid out as expected or lacks a preset (`why` says which).
    static std::unique_ptr<SoundFontImage> make(const std::string& path,
                                                std::span<const SoundFontPreset> presets, std::string& why);
    ~SoundFontImage();
    SoundFontImage(const SoundFontImage&) = delete;
    SoundFontImage& operator=(const SoundFontImage&) = delete;

    std::uint64_t size() const { return presetDataAt_ + presetData_.size(); }
    // Reads `bytes.size()` bytes at `offset` of the image: false past its end or on a failed read.
    bool read(std::uint64_t offset, std::span<std::uint8_t> bytes) const;

private:
    SoundFontImage(int fd, std::uint64_t presetDataAt, std::vector<std::uint8_t> presetData);

    int fd_;
    std::uint64_t presetDataAt_;  // where the preset data's list began in the file, and begins here
    std::vector<std::uint8_t> presetData_;
};

}  // namespace tolvex::synth
