#pragma once

#include <fluidsynth.h>

#include <memory>
#include <string>

#include "SoundFontImage.h"

namespace tolvex::synth {

// A sound font loader of the library's own kind whose file callbacks read the image registered for
// a path instead of the file there. The library opens a sound font once to read its presets and
// again whenever a preset is selected, to read that preset's samples: the image must stay
// registered until the synthesizer that loaded it is deleted. Other paths it does not open.
fluid_sfloader_t* newImageLoader(fluid_settings_t* settings);

// While it lives, image loaders read `image` for `path` (the latest registration, when two name
// the same path).
class ImageRegistration {
public:
    ImageRegistration(std::string path, std::unique_ptr<SoundFontImage> image);
    ~ImageRegistration();
    ImageRegistration(const ImageRegistration&) = delete;
    ImageRegistration& operator=(const ImageRegistration&) = delete;

private:
    std::string path_;
    std::unique_ptr<SoundFontImage> image_;
};

}  // namespace tolvex::synth
