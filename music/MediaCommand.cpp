#include "MediaCommand.h"

#include <QRegularExpression>

namespace tolvex::music {

namespace {

constexpr auto kCaseless = QRegularExpression::CaseInsensitiveOption;

std::optional<MediaCommand::Verb> verbOf(const QString& word) {
    const QString verb = word.toLower();
    if (verb == u"play") {
        return MediaCommand::Verb::Play;
    }
    if (verb == u"stop") {
        return MediaCommand::Verb::Stop;
    }
    if (verb == u"close") {
        return MediaCommand::Verb::Close;
    }
    return std::nullopt;
}

std::optional<MediaCommand> parseOpen(const QString& text) {
    // Each greedy path ends at the last closing quote or " alias ": a path may itself hold
    // double quotes and the command's own words, and a folder's name may hold anything.
    static const QRegularExpression quoted(
        QStringLiteral(R"re(^\s*open\s+sequencer!"(.+)"\s+alias\s+(\S+)\s*$)re"),
        kCaseless | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression unquoted(
        QStringLiteral(R"re(^\s*open\s+sequencer!(?!")(.*\S)\s+alias\s+(\S+)\s*$)re"),
        kCaseless | QRegularExpression::DotMatchesEverythingOption);

    QRegularExpressionMatch match = quoted.match(text);
    if (!match.hasMatch()) {
        match = unquoted.match(text);
    }
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return MediaCommand{MediaCommand::Verb::Open, match.captured(2), match.captured(1)};
}

}  // namespace

std::optional<MediaCommand> parseMediaCommand(const QString& text) {
    static const QRegularExpression simple(QStringLiteral(R"re(^\s*(\S+)\s+(\S+)\s*$)re"));

    if (const QRegularExpressionMatch match = simple.match(text); match.hasMatch()) {
        if (const auto verb = verbOf(match.captured(1))) {
            return MediaCommand{*verb, match.captured(2), {}};
        }
    }
    return parseOpen(text);
}

}  // namespace tolvex::music
