#include "uError.h"
#include "uShared.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString Exe = QStringLiteral("/opt/kelmira.d/kelmira");

int ModeOf(const QString& path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return int(info.st_mode & 07777);
}

} // namespace

class TestShared : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void configFileName_data();
    void configFileName();
    void relativeConfigPathFollowsCurrentDirectory();
    void configFileNameWithSuffix_data();
    void configFileNameWithSuffix();

    void fileVersionOfRunningExecutable();
    void fileVersionOfOtherFileLeavesOutputs();

    void tempFileName();
    void uniqueTempFileCounts();
    void uniqueTempFileNeverTwiceAcrossThreads();
    void tempFileFailureRaisesSystemText();

    void commandWord_data();
    void commandWord();
    void commandTail_data();
    void commandTail();
    void readCommandWordPositions();

    void findSwitchIndex_data();
    void findSwitchIndex();

    void timestampText();
    void strToTimestamp_data();
    void strToTimestamp();
    void timestampRoundTrip();

    void archiveName_data();
    void archiveName();

    void normalizeFolderPath_data();
    void normalizeFolderPath();
    void normalizeBaseFolder_data();
    void normalizeBaseFolder();
    void checkFileMask_data();
    void checkFileMask();

    void expandEscapes_data();
    void expandEscapes();
    void statusEscapes_data();
    void statusEscapes();
    void configuredText();

private:
    std::unique_ptr<QTemporaryDir> FTemp;
    QByteArray FOldTmpDir;
};

void TestShared::init()
{
    FTemp = std::make_unique<QTemporaryDir>();
    QVERIFY(FTemp->isValid());
    FOldTmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(FTemp->path()));
}

void TestShared::cleanup()
{
    qputenv("TMPDIR", FOldTmpDir);
    FTemp.reset();
}

void TestShared::configFileName_data()
{
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("expected");
    QTest::newRow("-I first") << QStringList{"-I", "/conf/a.ini"} << "/conf/a.ini";
    QTest::newRow("/i first") << QStringList{"/i", "/d/c.ini"} << "/d/c.ini";
    QTest::newRow("in the middle") << QStringList{"x", "-i", "/d/c.ini", "y"} << "/d/c.ini";
    QTest::newRow("first of two") << QStringList{"-i", "/a.ini", "/I", "/b.ini"} << "/a.ini";
    QTest::newRow("switch last") << QStringList{"/d/c.ini", "-i"} << Exe + ".ini";
    QTest::newRow("switch alone") << QStringList{"-i"} << Exe + ".ini";
    QTest::newRow("longer switch") << QStringList{"-ini", "/d/c.ini"} << Exe + ".ini";
    QTest::newRow("other switch char") << QStringList{"+i", "/d/c.ini"} << Exe + ".ini";
    QTest::newRow("none") << QStringList{} << Exe + ".ini";
    QTest::newRow("without extension") << QStringList{"-i", "/d/conf"} << "/d/conf";
}

void TestShared::configFileName()
{
    QFETCH(QStringList, params);
    QFETCH(QString, expected);
    QCOMPARE(GetConfigFileName(params, Exe), expected);
    QCOMPARE(GetConfigFileName(params, Exe + ".exe"), expected);
}

void TestShared::relativeConfigPathFollowsCurrentDirectory()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(FTemp->path()));
    const QString path = GetConfigFileName({"-i", "conf/a.ini"}, Exe);
    QDir::setCurrent(before);
    QCOMPARE(path, QDir(FTemp->path()).absoluteFilePath("conf/a.ini"));
    QCOMPARE(GetConfigFileNameWithSuffix(path, "_AI"),
             QDir(FTemp->path()).absoluteFilePath("conf/a_AI.ini"));
}

void TestShared::configFileNameWithSuffix_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("AI") << "/conf/a.ini"
                        << "_AI"
                        << "/conf/a_AI.ini";
    QTest::newRow("MI") << "/Prog/app.ini"
                        << "_MI"
                        << "/Prog/app_MI.ini";
    QTest::newRow("no extension") << "/x/conf"
                                  << "_AI"
                                  << "/x/conf_AI";
    QTest::newRow("dot in folder only") << "/x.d/conf"
                                        << "_MI"
                                        << "/x.d/conf_MI";
    QTest::newRow("two dots") << "/x/a.b.ini"
                              << "_AI"
                              << "/x/a.b_AI.ini";
}

void TestShared::configFileNameWithSuffix()
{
    QFETCH(QString, base);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    QCOMPARE(GetConfigFileNameWithSuffix(base, suffix), expected);
}

void TestShared::fileVersionOfRunningExecutable()
{
    quint16 major = 0, minor = 0, release = 0, build = 0;
    // Through a link, as a copy started from a shortcut would name it.
    const QString link = FTemp->filePath("link");
    QVERIFY(QFile::link(QCoreApplication::applicationFilePath(), link));
    QVERIFY(GetFileVersionNumbers(link, major, minor, release, build));
    QCOMPARE(major, quint16(KELMIRA_VERSION_MAJOR));
    QCOMPARE(minor, quint16(KELMIRA_VERSION_MINOR));
    QCOMPARE(release, quint16(KELMIRA_VERSION_RELEASE));
    QCOMPARE(build, quint16(KELMIRA_VERSION_BUILD));
}

void TestShared::fileVersionOfOtherFileLeavesOutputs()
{
    QFile other(FTemp->filePath("other.exe"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    for (const QString& path : {other.fileName(), FTemp->filePath("missing"), QString()}) {
        quint16 major = 7, minor = 7, release = 7, build = 7;
        QVERIFY(!GetFileVersionNumbers(path, major, minor, release, build));
        QCOMPARE(major + minor + release + build, 28);
    }
}

void TestShared::tempFileName()
{
    const QString first = CreateTempFileName();
    const QString second = CreateTempFileName();
    QVERIFY(first != second);
    for (const QString& path : {first, second}) {
        const QFileInfo info(path);
        QCOMPARE(info.absolutePath(), QDir(FTemp->path()).canonicalPath());
        QVERIFY(info.isFile());
        QCOMPARE(info.size(), 0);
        QCOMPARE(ModeOf(path), 0600);
    }
}

void TestShared::uniqueTempFileCounts()
{
    QString first, second;
    const auto a = CreateUniqueTempFile(".exe", first);
    QFile::remove(FTemp->filePath("00000001.exe"));
    const auto b = CreateUniqueTempFile(".exe", second);
    QCOMPARE(first, FTemp->filePath("00000000.exe"));
    QCOMPARE(second, FTemp->filePath("00000001.exe"));
    QVERIFY(a->isOpen() && a->isWritable() && a->isReadable());
    QCOMPARE(a->write("abc"), 3);
    QVERIFY(a->flush());
    QCOMPARE(QFileInfo(first).size(), 3);
    QCOMPARE(ModeOf(second), 0600);

    // A gap left by a deleted file is taken again first.
    QFile::remove(first);
    QString third;
    CreateUniqueTempFile(".exe", third);
    QCOMPARE(third, first);
    QString other;
    CreateUniqueTempFile(".tmp", other);
    QCOMPARE(other, FTemp->filePath("00000000.tmp"));
}

void TestShared::uniqueTempFileNeverTwiceAcrossThreads()
{
    constexpr int PerThread = 200;
    QStringList names[2];
    QThread* threads[2];
    for (int t = 0; t < 2; ++t) {
        threads[t] = QThread::create([&names, t] {
            for (int i = 0; i < PerThread; ++i) {
                QString path;
                CreateUniqueTempFile(".dat", path);
                names[t].append(path);
            }
        });
        threads[t]->start();
    }
    for (QThread* thread : threads) {
        QVERIFY(thread->wait());
        delete thread;
    }
    QSet<QString> all;
    for (const QStringList& list : names)
        for (const QString& name : list)
            all.insert(name);
    QCOMPARE(all.size(), 2 * PerThread);
    QCOMPARE(QDir(FTemp->path()).entryList(QDir::Files).size(), 2 * PerThread);
}

void TestShared::tempFileFailureRaisesSystemText()
{
    qputenv("TMPDIR", QFile::encodeName(FTemp->filePath("missing")));
    const QString expected = qt_error_string(ENOENT);
    try {
        QString path;
        CreateUniqueTempFile(".exe", path);
        QFAIL("no error raised");
    } catch (const EAppError& error) {
        QCOMPARE(error.Message(), expected);
    }
    QVERIFY_THROWS_EXCEPTION(EAppError, CreateTempFileName());
}

void TestShared::commandWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    const QString run = R"(RUN "/Program Files/x.exe" -a)";
    QTest::newRow("quoted path") << run << 2 << "/Program Files/x.exe";
    QTest::newRow("first") << run << 1 << "RUN";
    QTest::newRow("zero is first") << run << 0 << "RUN";
    QTest::newRow("last") << run << 3 << "-a";
    QTest::newRow("past the end") << run << 4 << "";
    QTest::newRow("stretches touch") << R"(a"b c"d e)" << 1 << "ab cd";
    QTest::newRow("empty pair skipped") << R"("" x)" << 1 << "x";
    QTest::newRow("open quote runs to end") << R"(x "a b)" << 2 << "a b";
    QTest::newRow("tabs and blanks") << "  \t a\tb" << 2 << "b";
    QTest::newRow("non-ASCII") << "ąž šū" << 2 << "šū";
    QTest::newRow("empty text") << "" << 1 << "";
}

void TestShared::commandWord()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(GetCommandWord(text, n), expected);
}

void TestShared::commandTail_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    const QString run = R"(RUN "/Program Files/x.exe" -a)";
    QTest::newRow("after two words") << run << 3 << " -a";
    QTest::newRow("after one") << run << 2 << R"( "/Program Files/x.exe" -a)";
    QTest::newRow("one is whole") << run << 1 << run;
    QTest::newRow("zero is whole") << run << 0 << run;
    QTest::newRow("past the end") << run << 5 << "";
    QTest::newRow("blanks kept") << "a  b  c " << 2 << "  b  c ";
}

void TestShared::commandTail()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(GetCommandTail(text, n), expected);
}

void TestShared::readCommandWordPositions()
{
    const QString text = R"(ab "c d" e)";
    qsizetype pos = 0;
    QCOMPARE(ReadCommandWord(text, pos), "ab");
    QCOMPARE(pos, 2);
    QCOMPARE(ReadCommandWord(text, pos), "c d");
    QCOMPARE(pos, 8);
    QCOMPARE(ReadCommandWord(text, pos), "e");
    QCOMPARE(pos, 10);
    QCOMPARE(ReadCommandWord(text, pos), "");
    QCOMPARE(pos, 10);
    // A NUL ends the text.
    pos = 0;
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QCOMPARE(ReadCommandWord(withNul, pos), "a");
    QCOMPARE(ReadCommandWord(withNul, pos), "");
    QCOMPARE(pos, 1);
}

void TestShared::findSwitchIndex_data()
{
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("chars");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<int>("expected");
    const QStringList params = {"", "x", "-REMOVE_TEMP_EXE", "/tmp/a", "/install_delayed_updates"};
    QTest::newRow("case ignored") << params << "remove_temp_exe"
                                  << "-/" << true << 2;
    QTest::newRow("case kept") << params << "remove_temp_exe"
                               << "-/" << false << -1;
    QTest::newRow("exact case") << params << "REMOVE_TEMP_EXE"
                                << "-/" << false << 2;
    QTest::newRow("slash") << params << "INSTALL_DELAYED_UPDATES"
                           << "-/" << true << 4;
    QTest::newRow("not a switch char") << params << "INSTALL_DELAYED_UPDATES"
                                       << "-" << true << -1;
    QTest::newRow("any first char") << QStringList{"xABC"} << "ABC"
                                    << "" << false << 0;
    QTest::newRow("missing") << params << "OTHER"
                             << "-/" << true << -1;
}

void TestShared::findSwitchIndex()
{
    QFETCH(QStringList, params);
    QFETCH(QString, name);
    QFETCH(QString, chars);
    QFETCH(bool, ignoreCase);
    QFETCH(int, expected);
    QCOMPARE(FindSwitchIndex(params, name, chars, ignoreCase), expected);
    if (chars == "-/" && ignoreCase)
        QCOMPARE(FindSwitch(params, name), expected);
}

void TestShared::timestampText()
{
    QCOMPARE(TimestampToStr(QDateTime(QDate(2006, 12, 12), QTime(9, 5, 3, 7))),
             "20061212090503007");
    QCOMPARE(TimestampToStr(QDateTime(QDate(987, 1, 2), QTime(0, 0))), "09870102000000000");
}

void TestShared::strToTimestamp_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const QDateTime def(QDate(2000, 1, 1), QTime(1, 2, 3));
    const QDate day(2006, 12, 12);
    QTest::newRow("full") << "20061212090503007" << QDateTime(day, QTime(9, 5, 3, 7));
    QTest::newRow("to the minute") << "200612120905" << QDateTime(day, QTime(9, 5));
    QTest::newRow("to the second") << "20061212090503" << QDateTime(day, QTime(9, 5, 3));
    QTest::newRow("second not a number")
        << "200612120905xx123" << QDateTime(day, QTime(9, 5, 0, 123));
    QTest::newRow("month 13") << "20061312090503007" << def;
    QTest::newRow("30 February") << "20060230090503007" << def;
    QTest::newRow("hour 25") << "20061212250503007" << def;
    QTest::newRow("second 61") << "20061212090561007" << def;
    QTest::newRow("no minute") << "2006121209" << def;
    QTest::newRow("minute not a number") << "2006121209x5" << def;
    QTest::newRow("signed month") << "2006+1120905" << def;
    QTest::newRow("empty") << "" << def;
}

void TestShared::strToTimestamp()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QCOMPARE(StrToTimestamp(text, QDateTime(QDate(2000, 1, 1), QTime(1, 2, 3))), expected);
}

void TestShared::timestampRoundTrip()
{
    const QDateTime def;
    for (const QDateTime& value :
         {QDateTime::currentDateTime(), QDateTime(QDate(2006, 12, 12), QTime(23, 59, 59, 999)),
          QDateTime(QDate(1999, 1, 1), QTime(0, 0))})
        QCOMPARE(StrToTimestamp(TimestampToStr(value), def), value);
}

void TestShared::archiveName_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default pattern") << "Bylos siųstos %y-%m-%d.zbx"
                                     << "Bylos siųstos 2006-12-02.zbx";
    QTest::newRow("upper case") << "%Y%M%D"
                                << "20061202";
    QTest::newRow("time") << "%H.%n.%S"
                          << "07.05.03";
    QTest::newRow("repeated") << "%d-%D"
                              << "02-02";
    QTest::newRow("other") << "100% %x"
                           << "100% %x";
}

void TestShared::archiveName()
{
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(ExpandArchiveName(pattern, QDateTime(QDate(2006, 12, 2), QTime(7, 5, 3))), expected);
}

void TestShared::normalizeFolderPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("addTrailing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("backslashes trailing") << R"(\\a\b\\)" << true << "a/b/";
    QTest::newRow("backslashes bare") << R"(\\a\b\\)" << false << "a/b";
    QTest::newRow("slashes") << "//a/b//" << true << "a/b/";
    QTest::newRow("history entry") << R"(\2006)" << true << "2006/";
    QTest::newRow("delimiters only") << "/\\/" << true << "";
    QTest::newRow("empty") << "" << true << "";
}

void TestShared::normalizeFolderPath()
{
    QFETCH(QString, path);
    QFETCH(bool, addTrailing);
    QFETCH(QString, expected);
    QCOMPARE(NormalizeFolderPath(path, addTrailing), expected);
}

void TestShared::normalizeBaseFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absolute") << "/X/"
                              << "/X/";
    QTest::newRow("doubled") << "//X/Y//"
                             << "/X/Y/";
    QTest::newRow("no trailing") << "/X"
                                 << "/X/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("backslashes") << R"(\X\)"
                                 << "/X/";
    QTest::newRow("relative") << "AF/"
                              << "AF/";
    QTest::newRow("empty") << ""
                           << "";
}

void TestShared::normalizeBaseFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(NormalizeBaseFolder(path), expected);
}

void TestShared::checkFileMask_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("expected");
    QTest::newRow("allowed") << "*.xls; a?b*.xlt"
                             << "*"
                             << "*.xls; a?b*.xlt";
    QTest::newRow("drive path") << R"(C:\*.xls)"
                                << "*"
                                << "*";
    QTest::newRow("bar") << "a|b"
                         << ""
                         << "";
    for (const char* bad : {"\"", "/", ":", "<", ">", "\\", "|"})
        QTest::addRow("char %s", bad) << QStringLiteral("a%1b").arg(QLatin1String(bad)) << "F"
                                      << "F";
}

void TestShared::checkFileMask()
{
    QFETCH(QString, value);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);
    QCOMPARE(CheckFileMask(value, fallback), expected);
}

void TestShared::expandEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line break") << R"(AF\npildymas)"
                                << "AF\r\npildymas";
    QTest::newRow("capitals") << R"(a\Tb\Nc)"
                              << "a\tb\r\nc";
    QTest::newRow("other sequence") << R"(a\xb)"
                                    << R"(a\xb)";
    QTest::newRow("lone backslash") << R"(a\)"
                                    << R"(a\)";
}

void TestShared::expandEscapes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ExpandEscapes(text), expected);
}

void TestShared::statusEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line and tab") << R"(a\nb\tc)"
                                  << "a\r\nb\tc";
    QTest::newRow("doubled backslash") << R"(C:\\x)"
                                       << R"(C:\x)";
    QTest::newRow("case kept") << R"(a\Nb\T)"
                               << R"(a\Nb\T)";
    QTest::newRow("n wins over doubling") << R"(\\n)"
                                          << "\\\r\n";
}

void TestShared::statusEscapes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ExpandStatusEscapes(text), expected);
}

void TestShared::configuredText()
{
    QCOMPARE(ConfiguredText("", "AF pildymas"), "AF pildymas");
    QCOMPARE(ConfiguredText(R"(Plano\npildymas)", "x"), "Plano\r\npildymas");
}

QTEST_GUILESS_MAIN(TestShared)
#include "tst_shared.moc"
