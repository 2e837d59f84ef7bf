#include "ImageLoader.h"

#include <cstdio>
#include <mutex>
#include <utility>
#include <vector>

namespace tolvex::synth {

namespace {

// The library opens files from the module's thread and, as a tune selects its presets, from the
// audio thread.
std::mutex registryMutex;
std::vector<std::pair<std::string, const SoundFontImage*>> registry;

struct OpenImage {
    const SoundFontImage* image;
    std::uint64_t position = 0;
};

void* openImage(const char* path) {
    const std::lock_guard lock(registryMutex);
    for (auto entry = registry.rbegin(); entry != registry.rend(); ++entry)
        if (entry->first == path) return new OpenImage{entry->second};
    return nullptr;
}

int readImage(void* bytes, fluid_long_long_t count, void* handle) {
    auto* open = static_cast<OpenImage*>(handle);
    if (count < 0 ||
        !open->image->read(open->position, {static_cast<std::uint8_t*>(bytes), std::size_t(count)}))
        return FLUID_FAILED;
    open->position += std::uint64_t(count);
    return FLUID_OK;
}

int seekImage(void* handle, fluid_long_long_t offset, int origin) {
    auto* open = static_cast<OpenImage*>(handle);
    const auto size = fluid_long_long_t(open->image->size());
    const fluid_long_long_t base = origin == SEEK_SET   ? 0
                                   : origin == SEEK_CUR ? fluid_long_long_t(open->position)
                                   : origin == SEEK_END ? size
                                                        : -1;
    if (base < 0 || offset < -base || offset > size - base) return FLUID_FAILED;
    open->position = std::uint64_t(base + offset);
    return FLUID_OK;
}

fluid_long_long_t tellImage(void* handle) {
    return fluid_long_long_t(static_cast<OpenImage*>(handle)->position);
}

int closeImage(void* handle) {
    delete static_cast<OpenImage*>(handle);
    return FLUID_OK;
}

}  // namespace

fluid_sfloader_t* newImageLoader(fluid_settings_t* settings) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (loader) fluid_sfloader_set_callbacks(loader, openImage, readImage, seekImage, tellImage, closeImage);
    return loader;
}

ImageRegistration::ImageRegistration(std::string path, std::unique_ptr<SoundFontImage> image)
    : path_(std::move(path)), image_(std::move(image)) {
    const std::lock_guard lock(registryMutex);
    registry.emplace_back(path_, image_.get());
}

ImageRegistration::~ImageRegistration() {
    const std::lock_guard lock(registryMutex);
    std::erase_if(registry, [this](const auto& entry) { return entry.second == image_.get(); });
}

}  // namespace tolvex::synth
