#include "MusicSetup.h"

#include <QDir>
#include <QFile>

#include "MusicLog.h"

namespace tolvex {

music::SynthHost::Settings musicSettings(const WindowStart& start) {
    // The program's start looked for the module before the toolkit, and its lines, were there.
    if (start.music.modulePath.empty()) {
        const auto place = [](const std::string& path) {
            return QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(path)));
        };
        music::warnFallback(music::Fallback::Module,
                            QStringLiteral("the synthesizer module is neither %1 nor %2: no music")
                                .arg(place(start.modulePlaces[0]), place(start.modulePlaces[1])));
    }
    return start.music;
}

}  // namespace tolvex
