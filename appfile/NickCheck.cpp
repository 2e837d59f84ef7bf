#include "NickCheck.h"

namespace tolvex::appfile {

namespace {

const QString kRefusedCharacters = QStringLiteral("/\\<>:\"|?*");

QString codePoint(char32_t c) {
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

// The code points of the nick; half of a surrogate pair stands alone as itself.
std::u32string codePoints(const QString& nick) {
    std::u32string points;
    for (qsizetype i = 0; i < nick.size(); ++i) {
        const QChar c = nick.at(i);
        if (c.isHighSurrogate() && i + 1 < nick.size() && nick.at(i + 1).isLowSurrogate()) {
            points.push_back(QChar::surrogateToUcs4(c, nick.at(i + 1)));
            ++i;
        } else {
            points.push_back(c.unicode());
        }
    }
    return points;
}

// Why this character cannot stand in a file name the group receives, or nothing if it can. Some
// are invisible or turn the name's text around, so that "abc", U+202E, "ppa.exe" shows as
// "abcexe.app"; others other systems cannot show or store.
std::optional<QString> whyRefused(char32_t c) {
    if (c < 0x80 && kRefusedCharacters.contains(QChar(c)))
        return QStringLiteral("the character \"%1\", which cannot be used in a file name").arg(QChar(c));
    switch (QChar::category(c)) {
        case QChar::Other_Control:
            return QStringLiteral("the control character %1, which cannot be used in a file name")
                .arg(codePoint(c));
        case QChar::Other_Format:
            return QStringLiteral(
                       "the invisible format character %1, which can make the file's name look other "
                       "than it is")
                .arg(codePoint(c));
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return QStringLiteral(
                       "the line or paragraph separator %1, which breaks the file's name over lines")
                .arg(codePoint(c));
        case QChar::Other_PrivateUse:
            return QStringLiteral(
                       "the private-use character %1, which other systems show differently or not at all")
                .arg(codePoint(c));
        case QChar::Other_NotAssigned:
            return QStringLiteral("%1, which is not a character yet (Unicode has not assigned it)")
                .arg(codePoint(c));
        case QChar::Other_Surrogate:
            return QStringLiteral("%1, half of a character, which cannot be written in a file name")
                .arg(codePoint(c));
        default: return std::nullopt;
    }
}

QString removeIt(const QString& problem) { return problem + QStringLiteral(". Please remove it."); }

// The rules, for the nick or a name chosen in the save dialog: the message calls it `subject`, and
// asks for another `noun`.
std::optional<QString> refusal(const QString& name, const QString& subject, const QString& noun) {
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("%1 \"%2\" cannot name a file. Please choose another %3.")
            .arg(subject, name, noun);
    const std::u32string points = codePoints(name);
    for (const char32_t c : points)
        if (const auto why = whyRefused(c))
            return removeIt(QStringLiteral("%1 contains %2").arg(subject, *why));
    if (QChar::isSpace(points.front()))
        return removeIt(
            QStringLiteral("%1 begins with white space (%2), which cannot be seen in the file's name")
                .arg(subject, codePoint(points.front())));
    if (QChar::isSpace(points.back()))
        return removeIt(
            QStringLiteral(
                "%1 ends with white space (%2), which cannot be seen at the end of the file's name")
                .arg(subject, codePoint(points.back())));
    if (points.front() == U'.')
        return removeIt(
            QStringLiteral("%1 begins with a dot, which makes a hidden file that you would not find")
                .arg(subject));
    if (points.back() == U'.')
        return removeIt(QStringLiteral("%1 ends in a dot, which cannot end a file name").arg(subject));
    return std::nullopt;
}

}  // namespace

std::optional<QString> nickRefusal(const QString& nick) {
    if (nick.isEmpty())
        return QStringLiteral(
            "Please type your nick on the General page: the application file is named after it.");
    return refusal(nick, QStringLiteral("The nick"), QStringLiteral("nick"));
}

std::optional<QString> fileNameRefusal(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("Please type a name for the application file.");
    return refusal(name, QStringLiteral("The file name"), QStringLiteral("name"));
}

}  // namespace tolvex::appfile
