#include "FontConfigReader.h"

#include <fontconfig/fontconfig.h>

namespace tolvex {

// The toolkit's font database calls FcInit() too; once the configuration is read, that call
// returns at once.
FontConfigReader::FontConfigReader() : thread_([] { FcInit(); }) {}

void FontConfigReader::wait() {
    if (thread_.joinable()) thread_.join();
}

FontConfigReader::~FontConfigReader() { wait(); }

}  // namespace tolvex
