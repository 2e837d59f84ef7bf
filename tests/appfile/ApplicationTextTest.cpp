#include <QRegularExpression>
#include <QTest>

#include <set>

#include "ApplicationText.h"

using namespace tolvex;
using appfile::Texts;

namespace {

Texts designedCaptions() {
    Texts captions;
    for (std::int16_t i = 0; i < wizard::kQuestionCount; ++i) {
        const std::string_view text = *wizard::captionText(i);
        captions[std::size_t(i)] = QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    return captions;
}

QStringList linesOf(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();  // after the final CR LF
    return lines;
}

}  // namespace

class ApplicationTextTest : public QObject {
    Q_OBJECT
private slots:
    void workedExampleByteForByte();
    void allAnswersEmpty();
    void multiLineAnswers_data();
    void multiLineAnswers();
    void lineBreakInSingleLineAnswerBecomesSpace_data();
    void lineBreakInSingleLineAnswerBecomesSpace();
    void nonAsciiAnswersAreUtf8WithoutByteOrderMark();
};

void ApplicationTextTest::workedExampleByteForByte() {
    Texts answers;
    answers[0] = "Ziruzav";
    answers[1] = "19";
    answers[2] = "Norway";
    answers[3] = "T1";
    answers[5] = "2 years";
    answers[6] = "none";
    answers[7] = "none";
    answers[8] = "500";
    answers[21] = "I am online every evening\nand learn fast";

    const QByteArray expected =
        "This file was generated with the Tolvex Application Generator\r\n"
        "\r\n"
        "\r\n"
        "--General Information--\r\n"
        "Nick: Ziruzav\r\n"
        "Age: 19\r\n"
        "Country: Norway\r\n"
        "Connection Speed: T1\r\n"
        "E-mail: \r\n"
        "How long have you been on the scene? 2 years\r\n"
        "Past Affiliations: none\r\n"
        "Current Affiliations: none\r\n"
        "\r\n"
        "--Courrier--\r\n"
        "How many megs can you curry in a week? 500\r\n"
        "Which program(s) do you use to transfer software? \r\n"
        "\r\n"
        "--Site Op--\r\n"
        "Speed of the site: \r\n"
        "How many gigs can the site store? \r\n"
        "Can you supply individual user accounts? \r\n"
        "Name other groups, if any, that your site shares:\r\n"
        "\r\n"
        "\r\n"
        "--Bot Master--\r\n"
        "How long have you been a bot master? \r\n"
        "How Many Bots Can You Supply? \r\n"
        "Is the bot on any other channel? If so, specify:\r\n"
        "\r\n"
        "\r\n"
        "--Coder--\r\n"
        "How long have you been coding? \r\n"
        "What language(s) do you program in? \r\n"
        "How did you learn to program? \r\n"
        "What can you do?\r\n"
        "\r\n"
        "\r\n"
        "--Other--\r\n"
        "Tell us as much as you can about this position and why you would be qualified for it.\r\n"
        "I am online every evening\r\n"
        "and learn fast\r\n";

    const QByteArray written = appfile::applicationText(designedCaptions(), answers).toUtf8();
    QCOMPARE(written, expected);
    QCOMPARE(written.size(), 964);
    QCOMPARE(written.count("\r\n"), 41);
}

void ApplicationTextTest::allAnswersEmpty() {
    const QString text = appfile::applicationText(designedCaptions(), Texts{});
    const QStringList lines = linesOf(text);
    QCOMPARE(lines.size(), 40);
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n|\r[^\n]"))));

    const QStringList headings{"--General Information--", "--Courrier--", "--Site Op--",
                               "--Bot Master--",          "--Coder--",    "--Other--"};
    int headingsSeen = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (headings.contains(line)) {
            ++headingsSeen;
            QVERIFY2(lines[i - 1].isEmpty(), qPrintable(line));
        }
    }
    QCOMPARE(headingsSeen, 6);

    // Every inline question ends in exactly one space; each block question is followed by
    // one empty line, its answer.
    const Texts captions = designedCaptions();
    const std::set<std::size_t> blockQuestions{13, 16, 20, 21};
    for (std::size_t q = 0; q < captions.size(); ++q) {
        const bool block = blockQuestions.contains(q);
        const qsizetype at = lines.indexOf(block ? captions[q] : captions[q] + ' ');
        QVERIFY2(at >= 0, qPrintable(captions[q]));
        if (block) QVERIFY(lines[at + 1].isEmpty());
    }
}

void ApplicationTextTest::multiLineAnswers_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("two lines") << "first\nsecond" << QByteArray("first\r\nsecond\r\n\r\n--Bot Master--");
    QTest::newRow("final line break") << "first\n" << QByteArray("first\r\n\r\n\r\n--Bot Master--");
    QTest::newRow("CR LF kept") << "a\r\nb" << QByteArray("a\r\nb\r\n\r\n--Bot Master--");
    QTest::newRow("lone CR") << "a\rb" << QByteArray("a\r\nb\r\n\r\n--Bot Master--");
    QTest::newRow("empty lines inside") << "a\n\nb" << QByteArray("a\r\n\r\nb\r\n\r\n--Bot Master--");
}

void ApplicationTextTest::multiLineAnswers() {
    QFETCH(QString, answer);
    QFETCH(QByteArray, written);
    Texts answers;
    answers[13] = answer;
    const QByteArray text = appfile::applicationText(designedCaptions(), answers).toUtf8();
    const QByteArray question = "Name other groups, if any, that your site shares:\r\n";
    const qsizetype at = text.indexOf(question);
    QVERIFY(at > 0);
    QVERIFY2(text.mid(at + question.size()).startsWith(written),
             text.mid(at + question.size(), 40).constData());
}

void ApplicationTextTest::lineBreakInSingleLineAnswerBecomesSpace_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("line");
    QTest::newRow("LF") << "Norway\nSweden"
                        << "Country: Norway Sweden";
    QTest::newRow("CR LF is one break") << "Norway\r\nSweden"
                                        << "Country: Norway Sweden";
    QTest::newRow("CR") << "Norway\rSweden"
                        << "Country: Norway Sweden";
    QTest::newRow("paragraph separator") << QString("Norway") + QChar(0x2029) + "Sweden"
                                         << "Country: Norway Sweden";
    QTest::newRow("trailing break") << "Norway\n"
                                    << "Country: Norway ";
}

void ApplicationTextTest::lineBreakInSingleLineAnswerBecomesSpace() {
    QFETCH(QString, pasted);
    QFETCH(QString, line);
    Texts answers;
    answers[2] = pasted;
    const QStringList lines = linesOf(appfile::applicationText(designedCaptions(), answers));
    QCOMPARE(lines.size(), 40);
    QCOMPARE(lines[6], line);
    QCOMPARE(lines[7], QStringLiteral("Connection Speed: "));
}

void ApplicationTextTest::nonAsciiAnswersAreUtf8WithoutByteOrderMark() {
    Texts answers;
    answers[0] = QStringLiteral("Żółw");
    answers[2] = QStringLiteral("Ísland 日本");
    answers[21] = QStringLiteral("Ünïcödé\nłine two");
    const QByteArray bytes = appfile::applicationText(designedCaptions(), answers).toUtf8();
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.contains("Nick: \xC5\xBB\xC3\xB3\xC5\x82w\r\n"));
    QVERIFY(bytes.contains("Country: \xC3\x8Dsland \xE6\x97\xA5\xE6\x9C\xAC\r\n"));
    QVERIFY(
        bytes.endsWith("\xC3\x9Cn\xC3\xAF"
                       "c\xC3\xB6"
                       "d\xC3\xA9\r\n\xC5\x82ine two\r\n"));
}

QTEST_GUILESS_MAIN(ApplicationTextTest)
#include "ApplicationTextTest.moc"
