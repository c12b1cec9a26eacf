#include "uCodePage.h"
#include "uError.h"
#include "uIniFile.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString KillSection = QStringLiteral("Keys");

QString KillValue(int i)
{
    return QStringLiteral("value-%1-").arg(i) + QString(100, u'x');
}

// Run as a child: writes one key after another and reports each finished
// write on stdout until it is killed.
int WriteKeysUntilKilled(const QString& path, int first)
{
    TIniFile ini(path);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    for (int i = first; i < first + 100000; ++i) {
        ini.WriteString(KillSection, QStringLiteral("K%1").arg(i), KillValue(i));
        out.write(QByteArray::number(i) + '\n');
        out.flush();
    }
    return 0;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

const QByteArray Fixture = "; the Centre's settings\r\n"
                           "\r\n"
                           "[Nustatymai]\r\n"
                           "AF perziura pirma = /AF/ \r\n"
                           "; keep me\r\n"
                           "Archyvas=Bylos %y.zbx\r\n"
                           "\r\n"
                           "line without equals\r\n"
                           "[Other]\r\n"
                           "x=1\r\n"
                           "\r\n"
                           "[Last]\r\n"
                           "y=2";

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readString_data();
    void readString();
    void longValueIsCut();
    void readInteger_data();
    void readInteger();
    void integersAndFlagsRoundTrip();
    void sectionLists();
    void missingFileReadsDefaults();

    void writeKeepsOtherBytes_data();
    void writeKeepsOtherBytes();
    void newKeyAfterLastLineCutAtCr();
    void newFileUsesLineFeeds();
    void writeIsSeenAtOnceByAnotherObject();
    void codePageLettersRoundTrip();
    void lineBreaksCannotAddLines();
    void permissionsAndLinksKept();

    void refusedWrite_data();
    void refusedWrite();
    void readOnlyFileRefused();
    void fullDiskLeavesOldFile();

    void twoThreadsLoseNoKey();
    void killedWriterNeverLeavesPartialFile();

    void batchWritesEverythingAtCommit();
    void batchWithoutCommitChangesNothing();
    void writeOfAnotherThreadDuringBatchKept();

private:
    QString Path(const QString& name = QStringLiteral("a.ini")) const
    {
        return FDir->filePath(name);
    }
    std::unique_ptr<QTemporaryDir> FDir;
};

void TestIniFile::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blanks around") << QByteArray("Key=  plain value \t") << "Key"
                                   << "plain value";
    QTest::newRow("double quotes") << QByteArray("Key=  \"  quoted \"  ") << "Key"
                                   << "  quoted ";
    QTest::newRow("single quotes") << QByteArray("Key='a b'") << "Key"
                                   << "a b";
    QTest::newRow("mismatched quotes") << QByteArray("Key=\"a'") << "Key"
                                       << "\"a'";
    QTest::newRow("lone quote") << QByteArray("Key=\"") << "Key"
                                << "\"";
    QTest::newRow("empty value") << QByteArray("Key=") << "Key"
                                 << "";
    QTest::newRow("key case") << QByteArray("SSL=T") << "ssl"
                              << "T";
    QTest::newRow("blanks in name") << QByteArray("  AF perziura  =x") << "af PERZIURA"
                                    << "x";
    QTest::newRow("equals in value") << QByteArray("Key=a=b") << "Key"
                                     << "a=b";
    QTest::newRow("missing") << QByteArray("Other=1") << "Key"
                             << "default";
    QTest::newRow("comment") << QByteArray(";Key=1") << "Key"
                             << "default";
    QTest::newRow("first of two") << QByteArray("Key=1\nkey=2") << "Key"
                                  << "1";
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    WriteAll(Path(), "[Before]\nKey=wrong\n[Siuntimas]\n" + line + "\n[After]\nKey=wrong\n");
    QCOMPARE(TIniFile(Path()).ReadString("siuntimas", key, "default"), expected);
}

void TestIniFile::longValueIsCut()
{
    const QString value = QString(2000, u'a') + QString(1000, u'b');
    TIniFile ini(Path());
    ini.WriteString("S", "K", value);
    QVERIFY(ReadAll(Path()).contains(ToCodePage(value)));
    QCOMPARE(ini.ReadString("S", "K", ""), value.left(2047));
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << "31" << 31;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("0x") << "0x1F" << 31;
    QTest::newRow("0X") << "0X1f" << 31;
    QTest::newRow("dollar") << "$1F" << 31;
    QTest::newRow("dollar all bits") << "$FFFFFFFF" << -1;
    QTest::newRow("quoted") << "\"12\"" << 12;
    QTest::newRow("0x alone") << "0x" << 77;
    QTest::newRow("dollar alone") << "$" << 77;
    QTest::newRow("bad hex") << "0x1G" << 77;
    QTest::newRow("fraction") << "1.5" << 77;
    QTest::newRow("too large") << "99999999999" << 77;
    QTest::newRow("hex too long") << "$100000000" << 77;
    QTest::newRow("text") << "yes" << 77;
    QTest::newRow("empty") << "" << 77;
}

void TestIniFile::readInteger()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    TIniFile ini(Path());
    ini.WriteString("MainForm", "Top", text);
    QCOMPARE(ini.ReadInteger("MainForm", "Top", 77), expected);
}

void TestIniFile::integersAndFlagsRoundTrip()
{
    TIniFile ini(Path());
    ini.WriteInteger("MainForm", "Left", -303);
    ini.WriteBool("Siuntimas", "Server readonly", true);
    ini.WriteBool("Siuntimas", "Port readonly", false);
    QCOMPARE(ini.ReadInteger("MainForm", "Left", 0), -303);
    QCOMPARE(ini.ReadBool("Siuntimas", "Server readonly", false), true);
    QCOMPARE(ini.ReadBool("Siuntimas", "Port readonly", true), false);
    QCOMPARE(ini.ReadBool("Siuntimas", "Missing", true), true);
    ini.WriteString("Siuntimas", "Text flag", "T");
    QCOMPARE(ini.ReadBool("Siuntimas", "Text flag", true), true);
    QCOMPARE(ini.ReadBool("Siuntimas", "Text flag", false), false);
}

void TestIniFile::sectionLists()
{
    WriteAll(Path(), "[AF]\n; comment\nForma 1 = \"/a/f1.xlt\"\nnot a key\nForma 2=/a/f2.xlt\n"
                     "[af2]\nz=1\n");
    const TIniFile ini(Path());
    QCOMPARE(ini.ReadSectionValues("af"), QStringList({"Forma 1=/a/f1.xlt", "Forma 2=/a/f2.xlt"}));
    QCOMPARE(ini.ReadSection("AF"), QStringList({"Forma 1", "Forma 2"}));
    QVERIFY(ini.SectionExists("Af"));
    QVERIFY(!ini.SectionExists("Planai"));
    QVERIFY(ini.ValueExists("AF", "forma 2"));
    QVERIFY(!ini.ValueExists("AF", "not a key"));
    QVERIFY(ini.ReadSectionValues("Planai").isEmpty());
}

void TestIniFile::missingFileReadsDefaults()
{
    const TIniFile ini(Path("missing.ini"));
    QCOMPARE(ini.ReadString("S", "K", "d"), "d");
    QCOMPARE(ini.ReadInteger("S", "K", 5), 5);
    QVERIFY(ini.ReadSectionValues("S").isEmpty());
    QVERIFY(!ini.SectionExists("S"));
    TIniFile writable(Path("missing.ini"));
    writable.DeleteKey("S", "K");
    writable.EraseSection("S");
    QVERIFY(!QFile::exists(Path("missing.ini")));
}

void TestIniFile::writeKeepsOtherBytes_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("expected");
    QByteArray changed = Fixture;
    changed.replace("AF perziura pirma = /AF/ ", "AF perziura pirma=/B/");
    QTest::newRow("change key") << "write"
                                << "nustatymai"
                                << "af perziura PIRMA" << changed;
    QByteArray added = Fixture;
    added.replace("Archyvas=Bylos %y.zbx\r\n", "Archyvas=Bylos %y.zbx\r\nNew=/B/\r\n");
    QTest::newRow("new key after last key") << "write"
                                            << "Nustatymai"
                                            << "New" << added;
    QTest::newRow("new key in unterminated last line") << "write"
                                                       << "Last"
                                                       << "z" << Fixture + "\r\nz=/B/\r\n";
    QTest::newRow("new section") << "write"
                                 << "Nauja"
                                 << "k" << Fixture + "\r\n[Nauja]\r\nk=/B/\r\n";
    QByteArray deleted = Fixture;
    deleted.replace("Archyvas=Bylos %y.zbx\r\n", "");
    QTest::newRow("delete key") << "delete"
                                << "NUSTATYMAI"
                                << "archyvas" << deleted;
    QTest::newRow("delete missing key") << "delete"
                                        << "Nustatymai"
                                        << "none" << Fixture;
    QByteArray erased = Fixture;
    erased.replace("[Other]\r\nx=1\r\n\r\n", "");
    QTest::newRow("erase section") << "erase"
                                   << "other"
                                   << "" << erased;
    QTest::newRow("erase missing section") << "erase"
                                           << "None"
                                           << "" << Fixture;
}

void TestIniFile::writeKeepsOtherBytes()
{
    QFETCH(QString, operation);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, expected);
    WriteAll(Path(), Fixture);
    TIniFile ini(Path());
    if (operation == "write")
        ini.WriteString(section, key, "/B/");
    else if (operation == "delete")
        ini.DeleteKey(section, key);
    else
        ini.EraseSection(section);
    QCOMPARE(ReadAll(Path()), expected);
}

void TestIniFile::newKeyAfterLastLineCutAtCr()
{
    WriteAll(Path(), "[S]\r\nk=1\r");
    TIniFile ini(Path());
    ini.WriteString("S", "n", "2");
    QCOMPARE(ReadAll(Path()), QByteArray("[S]\r\nk=1\r\r\nn=2\r\n"));
    QCOMPARE(ini.ReadString("S", "k", ""), "1");
    QCOMPARE(ini.ReadString("S", "n", ""), "2");
}

void TestIniFile::newFileUsesLineFeeds()
{
    TIniFile ini(Path());
    ini.WriteString("S", "a", "1");
    ini.WriteString("T", "b", "2");
    ini.WriteString("S", "c", "3");
    QCOMPARE(ReadAll(Path()), QByteArray("[S]\na=1\nc=3\n[T]\nb=2\n"));
}

void TestIniFile::writeIsSeenAtOnceByAnotherObject()
{
    TIniFile mainForm(Path());
    TIniFile store(Path());
    QCOMPARE(store.ReadString("Atnaujinimai", "Tikrinti", "none"), "none");
    mainForm.WriteString("Atnaujinimai", "Tikrinti", "T");
    QCOMPARE(store.ReadString("Atnaujinimai", "Tikrinti", "none"), "T");
    store.WriteInteger("Atnaujinimai", "Statusas", 3);
    mainForm.WriteString("MainForm", "Top", "10");
    QCOMPARE(store.ReadInteger("Atnaujinimai", "Statusas", 0), 3);
    QCOMPARE(mainForm.ReadInteger("Atnaujinimai", "Statusas", 0), 3);
    store.EraseSection("Atnaujinimai");
    QVERIFY(!mainForm.SectionExists("Atnaujinimai"));
    QCOMPARE(mainForm.ReadInteger("MainForm", "Top", 0), 10);
}

void TestIniFile::codePageLettersRoundTrip()
{
    const QString value = QStringLiteral("ąčęėįšųūž ĄČĘĖĮŠŲŪŽ");
    TIniFile ini(Path());
    ini.WriteString(QStringLiteral("Sekcija ž"), QStringLiteral("Raktas ą"), value);
    QCOMPARE(ReadAll(Path()),
             QByteArray("[Sekcija \xfe]\nRaktas \xe0=\xe0\xe8\xe6\xeb\xe1\xf0\xf8\xfb\xfe "
                        "\xc0\xc8\xc6\xcb\xc1\xd0\xd8\xdb\xde\n"));
    QCOMPARE(ini.ReadString(QStringLiteral("SEKCIJA Ž"), QStringLiteral("RAKTAS Ą"), ""), value);
    QCOMPARE(ini.ReadSectionValues(QStringLiteral("Sekcija ž")),
             QStringList(QStringLiteral("Raktas ą=") + value));
}

void TestIniFile::lineBreaksCannotAddLines()
{
    TIniFile ini(Path());
    ini.WriteString("Siuntimas", "Subject", "a\r\n[Injected]\nKey=1");
    QVERIFY(!ini.SectionExists("Injected"));
    QCOMPARE(ini.ReadString("Siuntimas", "Subject", ""), "a  [Injected] Key=1");
}

void TestIniFile::permissionsAndLinksKept()
{
    WriteAll(Path("target.ini"), "[S]\nk=1\n");
    QVERIFY(QFile::setPermissions(Path("target.ini"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(Path("target.ini"), Path("link.ini")));
    TIniFile(Path("link.ini")).WriteString("S", "k", "2");
    QVERIFY(QFileInfo(Path("link.ini")).isSymLink());
    QCOMPARE(ReadAll(Path("target.ini")), QByteArray("[S]\nk=2\n"));
    struct stat info = {};
    QCOMPARE(::stat(QFile::encodeName(Path("target.ini")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0640u);
}

void TestIniFile::refusedWrite_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing folder") << "missing/a.ini";
    QTest::newRow("under a file") << "file/a.ini";
}

void TestIniFile::refusedWrite()
{
    QFETCH(QString, name);
    WriteAll(Path("file"), "not a folder");
    TIniFile ini(Path(name));
    try {
        ini.WriteString("S", "K", "V");
        QFAIL("no error raised");
    } catch (const EAppError& error) {
        QCOMPARE(error.Message(), "Unable to write to " + Path(name));
    }
    QVERIFY(!QFile::exists(Path("missing")));
    QCOMPARE(ReadAll(Path("file")), QByteArray("not a folder"));
}

void TestIniFile::readOnlyFileRefused()
{
    if (::geteuid() == 0)
        QSKIP("permission bits do not stop root");
    QDir(FDir->path()).mkdir("ro");
    const QString path = Path("ro/a.ini");
    WriteAll(path, "[S]\nK=old\n");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QVERIFY(QFile::setPermissions(Path("ro"), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY_THROWS_EXCEPTION(EAppError, TIniFile(path).WriteString("S", "K", "new"));
    QVERIFY(
        QFile::setPermissions(Path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // A read-only file in a writable folder is refused too, not replaced.
    QVERIFY_THROWS_EXCEPTION(EAppError, TIniFile(path).WriteString("S", "K", "new"));
    QCOMPARE(ReadAll(path), QByteArray("[S]\nK=old\n"));
}

void TestIniFile::fullDiskLeavesOldFile()
{
    // A file size limit makes write() fail as a full disk would, for root too.
    const QByteArray old = "[S]\nK=old\n";
    WriteAll(Path(), old);
    rlimit saved = {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool raised = false;
    try {
        TIniFile(Path()).WriteString("S", "K", QString(10000, u'x'));
    } catch (const EAppError& error) {
        raised = error.Message() == "Unable to write to " + Path();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(raised);
    QCOMPARE(ReadAll(Path()), old);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList("a.ini"));
}

void TestIniFile::twoThreadsLoseNoKey()
{
    constexpr int PerThread = 500;
    QThread* threads[2];
    for (int t = 0; t < 2; ++t) {
        threads[t] = QThread::create([this, t] {
            TIniFile ini(Path());
            for (int i = 0; i < PerThread; ++i)
                ini.WriteInteger("Keys", QStringLiteral("T%1-%2").arg(t).arg(i), i);
        });
        threads[t]->start();
    }
    for (QThread* thread : threads) {
        QVERIFY(thread->wait());
        delete thread;
    }
    const TIniFile ini(Path());
    QCOMPARE(ini.ReadSection("Keys").size(), 2 * PerThread);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < PerThread; ++i)
            QCOMPARE(ini.ReadInteger("Keys", QStringLiteral("T%1-%2").arg(t).arg(i), -1), i);
}

namespace {

// The same changes whether in a batch or key by key.
void ChangeSeveral(TIniFile& ini)
{
    ini.WriteString("Nustatymai", "Archyvas", "kita.zbx");
    ini.WriteString("Nauja", "A", "1");
    ini.DeleteKey("Nustatymai", "AF perziura pirma");
    ini.EraseSection("Other");
    ini.WriteInteger("Nauja", "B", 2);
}

} // namespace

void TestIniFile::batchWritesEverythingAtCommit()
{
    WriteAll(Path("one-by-one.ini"), Fixture);
    TIniFile oneByOne(Path("one-by-one.ini"));
    ChangeSeveral(oneByOne);

    WriteAll(Path(), Fixture);
    TIniFile ini(Path());
    TIniBatch batch(Path());
    ChangeSeveral(ini);
    {
        // A batch opened inside joins the outer one instead of waiting for it.
        TIniBatch inner(Path());
        TIniFile(Path()).WriteString("Last", "y", "3");
        inner.Commit();
    }
    QCOMPARE(ReadAll(Path()), Fixture);
    // This thread reads its changes; another one reads the file.
    QCOMPARE(ini.ReadString("Nauja", "A", "none"), "1");
    QCOMPARE(ini.ReadString("Last", "y", "none"), "3");
    QString seenElsewhere;
    std::unique_ptr<QThread> reader(QThread::create(
        [&] { seenElsewhere = TIniFile(Path()).ReadString("Nauja", "A", "none"); }));
    reader->start();
    QVERIFY(reader->wait());
    QCOMPARE(seenElsewhere, "none");

    batch.Commit();
    oneByOne.WriteString("Last", "y", "3");
    QCOMPARE(ReadAll(Path()), ReadAll(Path("one-by-one.ini")));
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"a.ini", "one-by-one.ini"}));
}

void TestIniFile::batchWithoutCommitChangesNothing()
{
    WriteAll(Path(), Fixture);
    TIniFile ini(Path());
    {
        TIniBatch batch(Path());
        ChangeSeveral(ini);
    }
    QCOMPARE(ReadAll(Path()), Fixture);
    QCOMPARE(ini.ReadString("Nustatymai", "Archyvas", "none"), "Bylos %y.zbx");
    // Nothing is left held: a plain write goes straight to the file.
    ini.WriteString("Last", "y", "3");
    QCOMPARE(TIniFile(Path()).ReadString("Last", "y", "none"), "3");
}

void TestIniFile::writeOfAnotherThreadDuringBatchKept()
{
    // The other thread's write must wait for the batch, not be overwritten
    // by it.
    QSemaphore started;
    std::unique_ptr<QThread> writer;
    {
        TIniBatch batch(Path());
        TIniFile(Path()).WriteString("Batch", "K", "1");
        writer.reset(QThread::create([&] {
            started.release();
            TIniFile(Path()).WriteString("Other", "K", "2");
        }));
        writer->start();
        QVERIFY(started.tryAcquire(1, 10000));
        batch.Commit();
    }
    QVERIFY(writer->wait());
    const TIniFile ini(Path());
    QCOMPARE(ini.ReadString("Batch", "K", "none"), "1");
    QCOMPARE(ini.ReadString("Other", "K", "none"), "2");
}

void TestIniFile::killedWriterNeverLeavesPartialFile()
{
    const QString path = Path("kill.ini");
    const QByteArray header = "; written by a child that is killed\n";
    WriteAll(path, header);
    int next = 0;
    for (int round = 0; round < 25; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--write-keys", path, QString::number(next)});
        QVERIFY(child.waitForStarted());
        const int target = QRandomGenerator::global()->bounded(1, 30);
        int reported = 0;
        int last = next - 1;
        while (reported < target) {
            QVERIFY(child.waitForReadyRead(30000));
            while (child.canReadLine()) {
                last = child.readLine().trimmed().toInt();
                ++reported;
            }
        }
        child.kill();
        QVERIFY(child.waitForFinished());
        const QList<QByteArray> late = child.readAllStandardOutput().split('\n');
        for (const QByteArray& line : late)
            if (!line.isEmpty())
                last = line.toInt();

        // The file holds the header, the section and every key 0..m in order,
        // with m the last reported write or the one after it.
        const QByteArray content = ReadAll(path);
        QVERIFY2(content.startsWith(header + "[Keys]\n") && content.endsWith('\n'),
                 content.right(200).constData());
        const QList<QByteArray> lines = content.mid(header.size()).split('\n');
        const qsizetype keys = lines.size() - 2;
        QVERIFY2(keys == last + 1 || keys == last + 2, QByteArray::number(keys).constData());
        for (int i = 0; i < keys; ++i)
            QCOMPARE(lines.at(i + 1), ToCodePage(QStringLiteral("K%1=").arg(i) + KillValue(i)));
        next = int(keys);
    }
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--write-keys") == 0)
        return WriteKeysUntilKilled(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    TestIniFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inifile.moc"
