#include "ModuleFileCheck.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tolvex::music {

namespace {

constexpr unsigned char kOwnByteOrder =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

bool fits(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

bool readAt(int fd, void* into, std::size_t length, std::uint64_t offset) {
    return ::pread(fd, into, length, off_t(offset)) == ssize_t(length);
}

bool isWholeElf(int fd, std::uint64_t size) {
    Elf64_Ehdr header;
    if (!readAt(fd, &header, sizeof header, 0)) return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
        header.e_ident[EI_DATA] != kOwnByteOrder || header.e_type != ET_DYN)
        return false;
    if (header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0 ||
        !fits(header.e_phoff, std::uint64_t(header.e_phnum) * sizeof(Elf64_Phdr), size))
        return false;
    if (header.e_shnum != 0 &&
        (header.e_shentsize != sizeof(Elf64_Shdr) ||
         !fits(header.e_shoff, std::uint64_t(header.e_shnum) * sizeof(Elf64_Shdr), size)))
        return false;
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    if (!readAt(fd, segments.data(), segments.size() * sizeof(Elf64_Phdr), header.e_phoff)) return false;
    for (const Elf64_Phdr& segment : segments)
        if (!fits(segment.p_offset, segment.p_filesz, size)) return false;
    return true;
}

}  // namespace

bool isWholeModuleFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat file = {};
    const bool whole =
        ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && isWholeElf(fd, std::uint64_t(file.st_size));
    ::close(fd);
    return whole;
}

}  // namespace tolvex::music
