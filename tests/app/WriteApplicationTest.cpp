#include <QDir>
#include <QPlainTextEdit>
#include <QTest>

#include "WindowFixture.h"

using namespace tolvex;
using testing::MessageBoxWatch;
using testing::WindowFixture;

namespace {

QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + "/" + name; }

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void type(frmTolvex& form, std::int16_t box, const QString& text) {
    QWidget* w = form.txtField(box)->widget();
    w->setFocus();
    QTest::keyClicks(w, text);
}

void clickFinish(frmTolvex& form) {
    form.lblBtn_Click(9);
    QTest::mouseClick(&form, Qt::LeftButton, {},
                      form.lblBtn(11)->mapTo(&form, form.lblBtn(11)->rect().center()));
}

// Removes an application file the test writes into the program directory.
struct Cleanup {
    QString path;
    ~Cleanup() { QFile::remove(path); }
};

}  // namespace

class WriteApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void finishWritesTheFileAndCloses();
    void refusedNickKeepsTheWindowAndEveryAnswer();
    void failedWriteCanBeMendedAndRetried();
};

void WriteApplicationTest::finishWritesTheFileAndCloses() {
    Cleanup cleanup{programFile("Ziruzav.app")};
    WindowFixture f;
    f.form->lblBtn_Click(10);
    type(*f.form, 0, "Ziruzav");
    type(*f.form, 1, "19");
    type(*f.form, 2, "Norway");
    type(*f.form, 3, "T1");
    type(*f.form, 5, "2 years");
    type(*f.form, 6, "none");
    type(*f.form, 7, "none");
    f.form->lblBtn_Click(4);
    type(*f.form, 8, "500");
    f.form->lblBtn_Click(8);
    type(*f.form, 21, "I am online every evening");
    QTest::keyClick(f.form->txtField(21)->widget(), Qt::Key_Return);
    type(*f.form, 21, "and learn fast");

    clickFinish(*f.form);

    const QByteArray written = readAll(programFile("Ziruzav.app"));
    QCOMPARE(written.size(), 964);
    QVERIFY(
        written.startsWith("This file was generated with the Tolvex Application Generator\r\n\r\n\r\n"
                           "--General Information--\r\nNick: Ziruzav\r\nAge: 19\r\n"));
    QVERIFY(written.contains("\r\nHow many megs can you curry in a week? 500\r\n"));
    QVERIFY(written.endsWith("qualified for it.\r\nI am online every evening\r\nand learn fast\r\n"));
    QVERIFY(!f.form->isVisible());
    QCOMPARE(f.log.calls.mid(2), (QStringList{"stop", "close"}));
}

void WriteApplicationTest::refusedNickKeepsTheWindowAndEveryAnswer() {
    WindowFixture f;
    const QStringList before = QDir(QCoreApplication::applicationDirPath()).entryList(QDir::Files);
    f.form->lblBtn_Click(3);
    type(*f.form, 0, "what?");
    type(*f.form, 2, "Norway");
    f.form->lblBtn_Click(6);
    type(*f.form, 16, "#tolvex");

    MessageBoxWatch box;
    box.expectOne();
    clickFinish(*f.form);
    QTRY_VERIFY(box.seen);
    QCOMPARE(box.title, QStringLiteral("Tolvex"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY2(box.text.startsWith("22  ") && box.text.contains("\"?\""), qPrintable(box.text));

    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->CurrentTab, std::int16_t(9));
    QCOMPARE(f.form->txtField(0)->text(), QStringLiteral("what?"));
    QCOMPARE(f.form->txtField(2)->text(), QStringLiteral("Norway"));
    QCOMPARE(f.form->txtField(16)->text(), QStringLiteral("#tolvex"));
    QVERIFY(f.form->TimerMusic.isActive());
    QCOMPARE(QDir(QCoreApplication::applicationDirPath()).entryList(QDir::Files), before);
}

void WriteApplicationTest::failedWriteCanBeMendedAndRetried() {
    Cleanup cleanup{programFile("Mended.app")};
    const QString inTheWay = programFile("Taken.app");
    QVERIFY(QDir().mkpath(inTheWay));
    WindowFixture f;
    f.form->lblBtn_Click(3);
    type(*f.form, 0, "Taken");

    MessageBoxWatch box;
    box.expectOne();
    clickFinish(*f.form);
    QTRY_VERIFY(box.seen);
    QDir(inTheWay).removeRecursively();
    QVERIFY2(box.text.startsWith("21  "), qPrintable(box.text));
    QVERIFY(f.form->isVisible());

    f.form->lblBtn_Click(3);
    auto* nick = static_cast<QLineEdit*>(f.form->txtField(0)->widget());
    nick->selectAll();
    type(*f.form, 0, "Mended");
    clickFinish(*f.form);
    QVERIFY(!f.form->isVisible());
    QVERIFY(readAll(programFile("Mended.app")).contains("Nick: Mended\r\n"));
}

QTEST_MAIN(WriteApplicationTest)
#include "WriteApplicationTest.moc"
