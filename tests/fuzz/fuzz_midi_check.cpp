// Any bytes in the tune file's place must be judged without reading past them.

#include "MidiFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    tolvex::music::isPlayableMidi(QByteArrayView(data, qsizetype(size)));
    return 0;
}
