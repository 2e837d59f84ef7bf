#pragma once

#include <string>

namespace tolvex::music {

// True when the file is whole as a shared library for this machine: a 64-bit ELF shared
// object of this byte order whose program headers, section headers and every segment they
// describe lie within the file. A module cut short (an interrupted copy or update) would
// otherwise kill the program inside dlopen, which maps the missing part and touches it.
bool isWholeModuleFile(const std::string& path);

}  // namespace tolvex::music
