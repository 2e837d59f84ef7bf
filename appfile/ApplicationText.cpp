#include "ApplicationText.h"

#include <QRegularExpression>

#include <string_view>

namespace tolvex::appfile {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// One section for each page that holds questions, in page order, whether or not the
// applicant opened the page.
struct Section {
    int page;
    std::string_view heading;
};

constexpr std::array<Section, 6> kSections{{
    {1, "--General Information--"},
    {2, "--Courrier--"},
    {3, "--Site Op--"},
    {4, "--Bot Master--"},
    {5, "--Coder--"},
    {6, "--Other--"},
}};

// CR LF, a lone CR, a lone LF, and the paragraph and line separators a paste can bring.
const QRegularExpression kLineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));

QString onOneLine(QString answer) { return answer.replace(kLineBreak, QStringLiteral(" ")); }

QString withCrLf(QString answer) { return answer.replace(kLineBreak, kLineEnd); }

}  // namespace

QString applicationText(const Texts& captions, const Texts& answers) {
    QString text;
    const auto line = [&text](const QString& content) { text += content + kLineEnd; };

    line(QStringLiteral("This file was generated with the Tolvex Application Generator"));
    line(kLineEnd);
    for (const Section& section : kSections) {
        const QString heading =
            QString::fromLatin1(section.heading.data(), qsizetype(section.heading.size()));
        // Every heading after the first brings the empty line before it.
        line(section.page == kSections.front().page ? heading : kLineEnd + heading);
        for (std::size_t i = 0; i < captions.size(); ++i) {
            const wizard::Question& question = wizard::kQuestions[i];
            if (question.page != section.page) continue;
            if (question.box == wizard::AnswerBox::MultiLine) {
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
