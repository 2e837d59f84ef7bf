#include "ProgramFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace tolvex::launch {

std::string programDirectory() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == ssize_t(sizeof path)) return ".";
    const std::string executable(path, std::size_t(length));
    const std::size_t slash = executable.rfind('/');
    return slash == 0 ? "/" : executable.substr(0, slash);
}

std::array<std::string, 2> libraryPlaces(const std::string& programDirectory, const std::string& name) {
    return {programDirectory + "/" TOLVEX_LIBRARIES_FROM_PROGRAM "/" + name, programDirectory + "/" + name};
}

std::string firstExisting(const std::array<std::string, 2>& places) {
    for (const std::string& place : places) {
        struct stat file = {};
        if (::stat(place.c_str(), &file) == 0) return place;
    }
    return {};
}

}  // namespace tolvex::launch
