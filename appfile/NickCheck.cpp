#include "NickCheck.h"

namespace tolvex::appfile {

namespace {

const QString kRefusedCharacters = QStringLiteral("/\\<>:\"|?*");

bool isControl(QChar c) { return c.category() == QChar::Other_Control; }

}  // namespace

std::optional<QString> nickRefusal(const QString& nick) {
    if (nick.isEmpty())
        return QStringLiteral(
            "Please type your nick on the General page: the application file is named after it.");
    if (nick == QLatin1String(".") || nick == QLatin1String(".."))
        return QStringLiteral("The nick \"%1\" cannot name a file. Please choose another nick.").arg(nick);
    for (const QChar c : nick) {
        if (isControl(c))
            return QStringLiteral(
                "The nick contains a control character, which cannot be used in a file name. "
                "Please remove it.");
        if (kRefusedCharacters.contains(c))
            return QStringLiteral(
                       "The nick contains the character \"%1\", which cannot be used in a file name. "
                       "Please remove it.")
                .arg(c);
    }
    if (nick.endsWith(QLatin1Char('.')) || nick.endsWith(QLatin1Char(' ')))
        return QStringLiteral(
            "The nick ends in a dot or a space, which cannot end a file name. Please remove it.");
    return std::nullopt;
}

}  // namespace tolvex::appfile
