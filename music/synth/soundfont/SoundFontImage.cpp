#include "SoundFontImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tolvex::synth {

namespace {

bool readAt(int fd, std::uint64_t offset, std::span<std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes = bytes.subspan(std::size_t(got));
        offset += std::uint64_t(got);
    }
    return true;
}

std::uint32_t u32(const std::uint8_t* at) {
    return std::uint32_t(at[0] | at[1] << 8 | at[2] << 16 | at[3] << 24);
}
bool is(const std::uint8_t* at, const char (&id)[5]) { return std::memcmp(at, id, 4) == 0; }

struct FileCloser {
    int fd;
    ~FileCloser() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::unique_ptr<SoundFontImage> SoundFontImage::make(const std::string& path,
                                                     std::span<const SoundFontPreset> presets,
                                                     std::string& why) {
    why.clear();
    FileCloser file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status = {};
    std::array<std::uint8_t, 12> header{};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !readAt(file.fd, 0, header))
        return nullptr;
    if (!is(header.data(), "RIFF") || !is(header.data() + 8, "sfbk")) {
        why = "it is not a SoundFont 2 file";
        return nullptr;
    }
    // The top-level chunks up to the preset data's list, which must come last: the image ends there.
    const std::uint64_t end =
        std::min<std::uint64_t>(8 + std::uint64_t(u32(header.data() + 4)), status.st_size);
    for (std::uint64_t at = 12; at + 12 <= end;) {
        if (!readAt(file.fd, at, header)) return nullptr;
        const std::uint64_t size = u32(header.data() + 4);
        // Unpadded, as the synthesizer reads them: compressed sample data may have an odd size.
        const std::uint64_t next = at + 8 + size;
        if (!is(header.data(), "LIST") || !is(header.data() + 8, "pdta")) {
            at = next;
            continue;
        }
        if (size < 4 || at + 8 + size > end) {
            why = "its preset data is cut short";
            return nullptr;
        }
        if (next < end) {
            why = "more data follows its preset data";
            return nullptr;
        }
        std::vector<std::uint8_t> data(size - 4);
        if (!readAt(file.fd, at + 12, data)) return nullptr;
        std::optional<std::vector<std::uint8_t>> rebuilt = presetDataWithOnly(data, presets, why);
        if (!rebuilt) return nullptr;
        auto image = std::unique_ptr<SoundFontImage>(new SoundFontImage(file.fd, at, std::move(*rebuilt)));
        file.fd = -1;
        return image;
    }
    why = "it has no preset data";
    return nullptr;
}

SoundFontImage::SoundFontImage(int fd, std::uint64_t presetDataAt, std::vector<std::uint8_t> presetData)
    : fd_(fd), presetDataAt_(presetDataAt), presetData_(std::move(presetData)) {}

SoundFontImage::~SoundFontImage() { ::close(fd_); }

bool SoundFontImage::read(std::uint64_t offset, std::span<std::uint8_t> bytes) const {
    if (offset > size() || bytes.size() > size() - offset) return false;
    // First the file's own bytes, but for the RIFF size (bytes 4 to 7), which is the image's.
    const std::size_t fromFile =
        offset < presetDataAt_ ? std::size_t(std::min<std::uint64_t>(bytes.size(), presetDataAt_ - offset))
                               : 0;
    if (!readAt(fd_, offset, bytes.first(fromFile))) return false;
    const std::uint64_t riffSize = size() - 8;
    for (std::uint64_t at = std::max<std::uint64_t>(offset, 4);
         at < std::min<std::uint64_t>(offset + fromFile, 8); ++at)
        bytes[at - offset] = std::uint8_t(riffSize >> (8 * (at - 4)));
    // Then the rebuilt preset data.
    if (bytes.size() > fromFile) {
        const auto from = presetData_.begin() + std::ptrdiff_t(offset + fromFile - presetDataAt_);
        std::copy_n(from, bytes.size() - fromFile, bytes.begin() + std::ptrdiff_t(fromFile));
    }
    return true;
}

}  // namespace tolvex::synth
