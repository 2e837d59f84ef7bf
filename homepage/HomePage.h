#pragma once

#include <QString>

namespace tolvex::homepage {

// The home-page address of the version record: the one way the program reads it.
QString homePageAddress();

// Hands the address to the desktop's handler for web addresses and returns at once; if no
// handler takes it, nothing is shown.
void openHomePage();

}  // namespace tolvex::homepage
