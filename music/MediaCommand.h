#pragma once

#include <QString>

#include <optional>

namespace tolvex::music {

// One command string of the media-command layer, taken apart.
struct MediaCommand {
    enum class Verb { Open, Play, Stop, Close };

    Verb verb = Verb::Play;
    QString alias;
    // The file to open (Open only), without the quotes it may have been given in.
    QString path;
};

// Parses "open sequencer!<path> alias <alias>", "play <alias>", "stop <alias>" and
// "close <alias>". Verbs, the device type and the keyword "alias" are case-insensitive. The
// path may be in double quotes; an unquoted path may hold spaces, and its alias is then the
// word after the last " alias ". A quoted path ends at the last quote before " alias ", so it may
// hold double quotes itself. Anything else, or an empty path or alias, gives nothing.
std::optional<MediaCommand> parseMediaCommand(const QString& text);

}  // namespace tolvex::music
