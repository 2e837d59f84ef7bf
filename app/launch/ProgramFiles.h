#pragma once

#include <array>
#include <string>

// The program's own files, found without the toolkit: the program looks for them before it is
// loaded.
namespace tolvex::launch {

// The folder of the running executable, from the link the kernel keeps to it.
std::string programDirectory();

// Where a library of the program's can be: an installed copy keeps it in its own library folder,
// the build and a copied folder beside the executable. In that order.
std::array<std::string, 2> libraryPlaces(const std::string& programDirectory, const std::string& name);

// The first place that has a file; empty when none has.
std::string firstExisting(const std::array<std::string, 2>& places);

}  // namespace tolvex::launch
