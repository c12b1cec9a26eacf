#include "uLinuxDesktopShell.h"
#include "uRecordingShell.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteFile(const QString& path, const QByteArray& content, bool executable)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes its arguments and working folder, one per line, to the file named
// by its first argument, all at once.
const QByteArray ArgvScript = "#!/bin/sh\n"
                              "out=\"$1\"; shift\n"
                              "{ printf '%s\\n' \"$@\"; pwd; } > \"$out.part\" && mv \"$out.part\" "
                              "\"$out\"\n";

} // namespace

class TestDesktopShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void seamTakesFakeAndRestores();
    void startsProgramWithWordsAndFolder();
    void shellCharactersStayWords();
    void startsBinaryWithWindowsName();
    void documentsGoToOpener_data();
    void documentsGoToOpener();
    void failures_data();
    void failures();

    void trashMovesFilesAndReportsFailures();
    void trashWithoutDataFolderLeavesFilesInPlace();

private:
    std::unique_ptr<QTemporaryDir> FDir;
    QByteArray FPath, FHome, FDataHome;
    QString FCurrent;
    TLinuxDesktopShell FShell;
};

void TestDesktopShell::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    FPath = qgetenv("PATH");
    FHome = qgetenv("HOME");
    FDataHome = qgetenv("XDG_DATA_HOME");
    FCurrent = QDir::currentPath();
}

void TestDesktopShell::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    // The opener is a fake that records what it is given; the home folder
    // and the data folder (where the trash lives) are the test's own.
    QDir(FDir->path()).mkdir("bin");
    WriteFile(FDir->filePath("bin/xdg-open"),
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/opened.part\" && mv "
              "\"$(dirname \"$0\")/opened.part\" \"$(dirname \"$0\")/opened\"\n",
              true);
    qputenv("PATH", QFile::encodeName(FDir->filePath("bin")) + ':' + FPath);
    qputenv("HOME", QFile::encodeName(FDir->filePath("home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(FDir->filePath("home/.local/share")));
}

void TestDesktopShell::cleanup()
{
    QDir::setCurrent(FCurrent);
    qputenv("PATH", FPath);
    qputenv("HOME", FHome);
    qputenv("XDG_DATA_HOME", FDataHome);
    FDir.reset();
}

void TestDesktopShell::seamTakesFakeAndRestores()
{
    QVERIFY(dynamic_cast<TLinuxDesktopShell*>(&DesktopShell()));
    {
        TRecordingShell fake;
        QCOMPARE(&DesktopShell(), &fake);
        QCOMPARE(DesktopShell().ShellExecute("open", "/x.xls", "", "", false), 42);
        QCOMPARE(fake.Calls.size(), 1);
    }
    QVERIFY(dynamic_cast<TLinuxDesktopShell*>(&DesktopShell()));
}

void TestDesktopShell::startsProgramWithWordsAndFolder()
{
    const QString program = FDir->filePath("run me.sh");
    WriteFile(program, ArgvScript, true);
    QDir(FDir->path()).mkdir("work");
    const QString out = FDir->filePath("argv");
    const QString params = QStringLiteral("\"%1\" \"a b\"  c\"d e\" -x ąž").arg(out);
    QCOMPARE(FShell.ShellExecute("open", program, params, FDir->filePath("work"), true), 42);
    QTRY_VERIFY(QFile::exists(out));
    const QString expected = QStringLiteral("a b\ncd e\n-x\nąž\n%1\n").arg(FDir->filePath("work"));
    QCOMPARE(QString::fromUtf8(ReadAll(out)), expected);
}

// The parameters are split into words by our own rules and handed over as a
// list; no shell ever reads them.
void TestDesktopShell::shellCharactersStayWords()
{
    const QString program = FDir->filePath("run.sh");
    WriteFile(program, ArgvScript, true);
    const QString out = FDir->filePath("argv");
    const QString params =
        QStringLiteral("\"%1\" ;touch never $(touch never) `touch never` |touch never &&x >y")
            .arg(out);
    QCOMPARE(FShell.ShellExecute("open", program, params, FDir->path(), true), 42);
    QTRY_VERIFY(QFile::exists(out));
    QCOMPARE(QString::fromUtf8(ReadAll(out)),
             QStringLiteral(";touch\nnever\n$(touch\nnever)\n`touch\nnever`\n|touch\nnever\n&&x\n>"
                            "y\n%1\n")
                 .arg(FDir->path()));
    QVERIFY(!QFile::exists(FDir->filePath("never")));
    QVERIFY(!QFile::exists(FDir->filePath("y")));
}

void TestDesktopShell::startsBinaryWithWindowsName()
{
    // The installing copy of the program is a binary with an ".exe" name.
    const QString program = FDir->filePath("00000000.exe");
    QVERIFY(QFile::copy("/usr/bin/touch", program));
    QCOMPARE(FShell.ShellExecute("open", program, "\"made here\"", FDir->path(), true), 42);
    QTRY_VERIFY(QFile::exists(FDir->filePath("made here")));
}

void TestDesktopShell::documentsGoToOpener_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("verb");
    QTest::newRow("workbook") << "AF 1.xls" << QByteArray("x") << false << "open";
    QTest::newRow("template new") << "Kontrole.xlt" << QByteArray("x") << false << "new";
    QTest::newRow("workbook with exec bit") << "run.xls" << ArgvScript << true << "open";
    QTest::newRow("script without exec bit") << "run.sh" << ArgvScript << false << "OPEN";
    QTest::newRow("text with exec bit") << "notes" << QByteArray("plain text\n") << true << "";
    // No shell sees the name: it reaches the opener as one word.
    QTest::newRow("shell characters in the name")
        << "a;touch never $(touch never)`touch never`|x&.xls" << QByteArray("x") << false << "open";
}

void TestDesktopShell::documentsGoToOpener()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QFETCH(QString, verb);
    const QString file = FDir->filePath(name);
    WriteFile(file, content, executable);
    QCOMPARE(FShell.ShellExecute(verb, file, FDir->filePath("never"), QString(), false), 42);
    QTRY_VERIFY(QFile::exists(FDir->filePath("bin/opened")));
    QCOMPARE(QString::fromUtf8(ReadAll(FDir->filePath("bin/opened"))), file + '\n');
    QVERIFY(!QFile::exists(FDir->filePath("never")));
}

void TestDesktopShell::failures_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing file") << "open"
                                  << "missing.xls" << 2;
    QTest::newRow("unknown verb") << "print"
                                  << "a.xls" << 31;
}

void TestDesktopShell::failures()
{
    QFETCH(QString, verb);
    QFETCH(QString, name);
    QFETCH(int, expected);
    WriteFile(FDir->filePath("a.xls"), "x", false);
    QCOMPARE(FShell.ShellExecute(verb, FDir->filePath(name), QString(), QString(), false),
             expected);
}

void TestDesktopShell::trashMovesFilesAndReportsFailures()
{
    const QString a = FDir->filePath("AF 1.xls");
    const QString b = FDir->filePath("b.xls");
    WriteFile(a, "first", false);
    WriteFile(b, "second", false);
    const QString missing = FDir->filePath("missing.xls");
    QCOMPARE(FShell.MoveToTrash({a, missing, b}), QStringList{missing});
    QVERIFY(!QFile::exists(a) && !QFile::exists(b));

    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
    QVERIFY(trash.startsWith(FDir->path()));
    QCOMPARE(ReadAll(trash + "/files/AF 1.xls"), QByteArray("first"));
    QCOMPARE(ReadAll(trash + "/files/b.xls"), QByteArray("second"));
    const QByteArray info = ReadAll(trash + "/info/AF 1.xls.trashinfo");
    QVERIFY2(info.startsWith("[Trash Info]\n"), info.constData());
    QVERIFY2(info.contains("\nPath=" + QFile::encodeName(a) + '\n'), info.constData());
    QVERIFY(info.contains("DeletionDate="));
}

void TestDesktopShell::trashWithoutDataFolderLeavesFilesInPlace()
{
    // The data folder would be under a plain file, so no home trash can be
    // set up; the file is on the home's own file system, so no other trash
    // is tried.
    QDir(FDir->path()).mkdir("home");
    WriteFile(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).section(u'/', 0, -2),
        "", false);
    QVERIFY(!QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
    QDir(FDir->path()).mkdir("cwd");
    QVERIFY(QDir::setCurrent(FDir->filePath("cwd")));
    const QString file = FDir->filePath("c.xls");
    WriteFile(file, "kept", false);
    QCOMPARE(FShell.MoveToTrash({file}), QStringList{file});
    QCOMPARE(ReadAll(file), QByteArray("kept"));
    QCOMPARE(QDir(FDir->filePath("cwd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(TestDesktopShell)
#include "tst_desktopshell.moc"
