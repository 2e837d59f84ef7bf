#include "ApplicationText.h"

#include <QRegularExpression>

#include <string_view>

namespace tolvex::appfile {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

struct Section {
    std::string_view heading;
    int firstQuestion;
    int lastQuestion;
};

constexpr std::array<Section, 6> kSections{{
    {"--General Information--", 0, 7},
    {"--Courrier--", 8, 9},
    {"--Site Op--", 10, 13},
    {"--Bot Master--", 14, 16},
    {"--Coder--", 17, 20},
    {"--Other--", 21, 21},
}};

// CR LF, a lone CR, a lone LF, and the paragraph and line separators a paste can bring.
const QRegularExpression kLineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));

QString onOneLine(QString answer) { return answer.replace(kLineBreak, QStringLiteral(" ")); }

QString withCrLf(QString answer) { return answer.replace(kLineBreak, kLineEnd); }

bool isBlockAnswer(int question) {
    return wizard::questions()[std::size_t(question)].box == wizard::AnswerBox::MultiLine;
}

}  // namespace

QString applicationText(const Texts& captions, const Texts& answers) {
    QString text;
    const auto line = [&text](const QString& content) { text += content + kLineEnd; };

    line(QStringLiteral("This file was generated with the Tolvex Application Generator"));
    line(kLineEnd);
    bool first = true;
    for (const Section& section : kSections) {
        const QString heading =
            QString::fromLatin1(section.heading.data(), qsizetype(section.heading.size()));
        line(first ? heading : kLineEnd + heading);
        first = false;
        for (int q = section.firstQuestion; q <= section.lastQuestion; ++q) {
            const std::size_t i = std::size_t(q);
            if (isBlockAnswer(q)) {
                line(captions[i]);
                line(withCrLf(answers[i]));
            } else {
                line(captions[i] + QLatin1Char(' ') + onOneLine(answers[i]));
            }
        }
    }
    return text;
}

}  // namespace tolvex::appfile
