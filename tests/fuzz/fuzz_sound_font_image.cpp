// Any file in the sound font's place must be read, in part or not at all, without a fault; an image
// made of it must read back to its end.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "SoundFontImage.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static const int fd = ::memfd_create("font", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size)) std::abort();
    static constexpr tolvex::synth::SoundFontPreset kPresets[] = {{0, 0}, {128, 0}};
    std::string why;
    const auto image = tolvex::synth::SoundFontImage::make(path, kPresets, why);
    if (!image) return 0;
    std::vector<std::uint8_t> bytes(std::size_t(image->size()));
    if (!image->read(0, bytes) || image->read(image->size(), {bytes.data(), 1})) std::abort();
    return 0;
}
