// Any text as a media command must parse without fault, and any path, however odd its folder's
// name, must reach the device as it was given, quoted or not, as the window sends it.

#include <cstdlib>

#include "MediaCommand.h"

using tolvex::music::MediaCommand;
using tolvex::music::parseMediaCommand;

namespace {

void expectOpen(const QString& command, const QString& path) {
    const auto parsed = parseMediaCommand(command);
    if (!parsed || parsed->verb != MediaCommand::Verb::Open || parsed->path != path ||
        parsed->alias != QLatin1String("midi"))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    parseMediaCommand(text);
    // The window quotes every path; an unquoted one is taken whole when it neither starts with
    // a quote nor begins or ends with white space.
    if (!text.isEmpty()) expectOpen(QStringLiteral("open sequencer!\"%1\" alias midi").arg(text), text);
    if (!text.isEmpty() && !text.startsWith(QLatin1Char('"')) && !text.front().isSpace() &&
        !text.back().isSpace())
        expectOpen(QStringLiteral("open sequencer!%1 alias midi").arg(text), text);
    return 0;
}
