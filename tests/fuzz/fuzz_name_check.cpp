// Any nick, or any name typed or pasted into the save dialog, must be judged without fault; a
// name accepted must be exactly the file name written to the disk, and both checks agree.

#include <QFile>

#include <cstdlib>
#include <cstring>

#include "NickCheck.h"

using namespace tolvex::appfile;

namespace {

void check(const QString& name) {
    const bool nickAccepted = !nickRefusal(name);
    if (nickAccepted != !fileNameRefusal(name)) std::abort();
    if (nickAccepted && QFile::decodeName(QFile::encodeName(name)) != name) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    // As typed text, and as raw UTF-16, which a paste may bring with unpaired surrogates.
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    QString raw(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(raw.data(), data, size / 2 * 2);
    check(raw);
    return 0;
}
