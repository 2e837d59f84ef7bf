#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "ApplicationText.h"
#include "ApplicationWriter.h"
#include "NickCheck.h"
#include "OtherAccount.h"
#include "TemporaryFile.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

mode_t modeOf(const QString& path) {
    struct stat file = {};
    return ::stat(QFile::encodeName(path).constData(), &file) == 0 ? file.st_mode & 07777 : 0;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class ApplicationFileTest : public QObject {
    Q_OBJECT
private slots:
    void theWorkedExampleByteForByte() {
        Texts answers;
        answers[0] = "Ziruzav", answers[1] = "19", answers[2] = "Norway", answers[3] = "T1";
        answers[5] = "2 years", answers[6] = "none", answers[7] = "none", answers[8] = "500";
        answers[21] = "I am online every evening\nand learn fast";
        const QByteArray expected =
            "This file was generated with the Tolvex Application Generator\r\n\r\n\r\n"
            "--General Information--\r\nNick: Ziruzav\r\nAge: 19\r\nCountry: Norway\r\nConnection Speed: "
            "T1\r\n"
            "E-mail: \r\nHow long have you been on the scene? 2 years\r\nPast Affiliations: none\r\n"
            "Current Affiliations: none\r\n\r\n"
            "--Courrier--\r\nHow many megs can you curry in a week? 500\r\n"
            "Which program(s) do you use to transfer software? \r\n\r\n"
            "--Site Op--\r\nSpeed of the site: \r\nHow many gigs can the site store? \r\n"
            "Can you supply individual user accounts? \r\nName other groups, if any, that your site "
            "shares:\r\n\r\n\r\n"
            "--Bot Master--\r\nHow long have you been a bot master? \r\nHow Many Bots Can You Supply? \r\n"
            "Is the bot on any other channel? If so, specify:\r\n\r\n\r\n"
            "--Coder--\r\nHow long have you been coding? \r\nWhat language(s) do you program in? \r\n"
            "How did you learn to program? \r\nWhat can you do?\r\n\r\n\r\n"
            "--Other--\r\nTell us as much as you can about this position and why you would be qualified for "
            "it.\r\n"
            "I am online every evening\r\nand learn fast\r\n";
        QCOMPARE(appfile::applicationText(designedCaptions(), answers).toUtf8(), expected);
    }
    void aLineBreakStaysInsideItsRecord() {
        Texts answers;
        answers[2] = "Nor\r\nway\u2028";
        answers[13] = "one\rtwo\r\n";
        const QString text = appfile::applicationText(designedCaptions(), answers);
        QVERIFY(text.contains("\r\nCountry: Nor way \r\n"));
        QVERIFY(text.contains("shares:\r\none\r\ntwo\r\n\r\n\r\n--Bot Master--"));
    }
    // Each refusal names what is wrong: the character's U+ number where it cannot be seen.
    void aNickThatCannotNameAFileIsRefused_data() {
        QTest::addColumn<QString>("nick");
        QTest::addColumn<QString>("named");  // empty: the nick passes
        for (const char* nick : {"", ".", "..", "a/b", "a\\b", "a:b", "a?b", "a*b", "a|b", "dot."})
            QTest::newRow(nick) << QString(nick) << "nick";
        const std::pair<const char*, QString> refused[] = {
            {"tab\tbed", "U+0009"},       {"abc\u202Eppa.exe", "U+202E"},  {"zero\u200Bwidth", "U+200B"},
            {"b\uFEFFom", "U+FEFF"},      {"line\u2028break", "U+2028"},   {"para\u2029", "U+2029"},
            {"private\uE000", "U+E000"},  {"unassigned\u0378", "U+0378"},  {"space ", "U+0020"},
            {"no-break\u00A0", "U+00A0"}, {"ideographic\u3000", "U+3000"}, {"\u2003em-space", "U+2003"},
            {" leading", "U+0020"},       {".hidden", "begins with a dot"}};
        for (const auto& [nick, named] : refused)
            QTest::addRow("%s in %s", qPrintable(named), nick) << QString(nick) << named;
        QTest::newRow("lone surrogate") << (QString("half") + QChar(0xD800)) << "U+D800";
        for (const char* nick :
             {"Ziruzav", "Zi.ru zav", "Ærø", "Дмитрий", "山田 太郎", "O'Brien-2 (\U0001F600)"})
            QTest::newRow(nick) << QString(nick) << QString();
    }
    void aNickThatCannotNameAFileIsRefused() {
        QFETCH(QString, nick);
        QFETCH(QString, named);
        const std::optional<QString> refusal = appfile::nickRefusal(nick);
        QCOMPARE(refusal.has_value(), !named.isEmpty());
        if (refusal) QVERIFY2(refusal->contains(named), qPrintable(*refusal));
        // A name chosen in the save dialog follows the same rules.
        QCOMPARE(appfile::fileNameRefusal(nick).has_value(), !named.isEmpty());
    }
    void anEarlierFileIsReplacedAndALinkIsNotFollowed() {
        QTemporaryDir folder;
        put(folder.filePath("elsewhere"), "someone else's file");
        QVERIFY(QFile::link(folder.filePath("elsewhere"), folder.filePath("Ziruzav.app")));
        QVERIFY(appfile::writeApplication(folder.path(), "Ziruzav", "first").ok());
        QCOMPARE(contentOf(folder.filePath("elsewhere")), QByteArray("someone else's file"));
        QVERIFY(!QFileInfo(folder.filePath("Ziruzav.app")).isSymLink());
        QVERIFY(appfile::writeApplication(folder.path(), "Ziruzav", "second, shorter").ok());
        QCOMPARE(contentOf(folder.filePath("Ziruzav.app")), QByteArray("second, shorter"));
    }
    void aFailureLeavesNothingBehindAndSaysWhatToDo() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("Ziruzav.app"));
        const appfile::WriteResult folderInTheWay =
            appfile::writeApplication(folder.path(), "Ziruzav", "text");
        QCOMPARE(folderInTheWay.code, EISDIR);
        QVERIFY(folderInTheWay.advice.contains("folder named \"Ziruzav.app\""));
        QVERIFY(!folderInTheWay.folderNotWritable);

        // The longest nick that fits still gets its temporary file; one byte more is refused by name.
        QVERIFY(appfile::writeApplication(folder.path(), QString(251, 'n'), "text").ok());
        const appfile::WriteResult tooLong =
            appfile::writeApplication(folder.path(), QString(252, 'n'), "text");
        QCOMPARE(tooLong.code, ENAMETOOLONG);
        QVERIFY(tooLong.advice.contains("at most 251 bytes"));
        const appfile::WriteResult lineFeed =
            appfile::writeApplicationTo(folder.filePath("new\nline.app"), "text");
        QVERIFY(lineFeed.nameRefused && lineFeed.description.contains("U+000A"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QString(251, 'n') + ".app"});
    }
    void aNameAnotherAccountHoldsInASharedFolderIsSaidToBeTaken() {
        if (::geteuid() != 0) QSKIP("acting as two accounts needs root");
        QTemporaryDir shared("/tmp/tolvex-shared-XXXXXX");
        QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 01777) == 0);
        put(shared.filePath("Ziruzav.app"), "root's");
        QVERIFY(testing::holdsAsNobody([&] {
            const appfile::WriteResult taken = appfile::writeApplication(shared.path(), "Ziruzav", "text");
            return taken.advice.contains("\"Ziruzav.app\" is taken") && taken.folderNotWritable;
        }));
        QCOMPARE(contentOf(shared.filePath("Ziruzav.app")), QByteArray("root's"));
    }
    void anEarlierFileKeepsItsPermissionsAndANewOneGetsTheUmasks() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Ziruzav.app");
        put(path, "private");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(appfile::writeApplication(folder.path(), "Ziruzav", "still private").ok());
        QCOMPARE(modeOf(path), mode_t(0600));

        const mode_t umask = ::umask(027);
        const bool written = appfile::writeApplication(folder.path(), "Zi2", "new").ok();
        ::umask(umask);
        QVERIFY(written);
        QCOMPARE(modeOf(folder.filePath("Zi2.app")), mode_t(0640));
    }
    // A writer in another process, between its temporary file and the rename: while it runs, its
    // file stays; once it is killed, the next write removes what it left.
    void theNextWriteRemovesWhatAKilledWriteLeftButNotALiveOne() {
        QTemporaryDir folder;
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        pid_t writer = ::fork();
        const auto reap = qScopeGuard([&] {
            if (writer > 0) {
                ::kill(writer, SIGKILL);
                ::waitpid(writer, nullptr, 0);
            }
            ::close(ready[0]);
            ::close(ready[1]);
        });
        if (writer == 0) {
            QByteArray name;
            if (fileio::createLockedTemporary(folder.path(), name) >= 0 && ::write(ready[1], "!", 1) == 1)
                ::pause();
            ::_exit(1);
        }
        char byte;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
        const QStringList living = filesIn(folder.path());
        QCOMPARE(living.size(), 1);
        QVERIFY(appfile::writeApplication(folder.path(), "Ziruzav", "first").ok());
        QCOMPARE(filesIn(folder.path()), living + QStringList{"Ziruzav.app"});

        ::kill(writer, SIGKILL);
        QVERIFY(::waitpid(std::exchange(writer, 0), nullptr, 0) > 0);
        QVERIFY(appfile::writeApplication(folder.path(), "Ziruzav", "second").ok());
        QCOMPARE(filesIn(folder.path()), QStringList{"Ziruzav.app"});
    }
};

QTEST_APPLESS_MAIN(ApplicationFileTest)
#include "ApplicationFileTest.moc"
