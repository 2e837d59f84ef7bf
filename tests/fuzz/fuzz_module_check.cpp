// Any file in the synthesizer module's place must be judged, through the file itself as the
// program reads it, without a fault.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "ModuleFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static const int fd = ::memfd_create("module", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size)) std::abort();
    tolvex::music::isWholeModuleFile(path);
    return 0;
}
