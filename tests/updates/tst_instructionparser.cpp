#include "uInstructionParser.h"
#include "uTaskDescription.h"

#include <QCoreApplication>
#include <QTest>

namespace {

// The parser only creates tasks; nothing here may reach a store or a server.
class TParseOnlyOwner : public IDownloadTaskOwner
{
public:
    std::shared_ptr<IDownloadTaskStore> Store() const override { return nullptr; }
    void FtpDownload(const QString&, QIODevice&) override { QFAIL("the parser must not download"); }
};

const QString Md5 = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");

} // namespace

class TInstructionParserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("KELMIRA_TEST_USER", "jonas"); }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("tasks"); // "line => description" per task
        QTest::addColumn<QString>("redirect");
        QTest::addColumn<bool>("noUpdates");

        const QString exeDir = QCoreApplication::applicationDirPath();
        const auto task = [](const QString& line, const QString& description) {
            return line + QStringLiteral(" => ") + description;
        };
        const QString md5 = Md5;
        const QByteArray m = Md5.toLatin1();

        QTest::newRow("RUN in lower case, Args keep the blank")
            << QByteArray("run setup.exe " + m + " /S")
            << QStringList{task("run setup.exe " + md5 + " /S",
                                "TDownloadTaskFileRun RUN <setup.exe> <" + md5 + "> < /S>")}
            << "" << false;
        QTest::newRow("RUN: quoted words with blanks, Args keep quotes")
            << QByteArray("RUN \"dir a/setup.exe\" " + m + "   \"/D=C:\\Program Files\" -x \t")
            << QStringList{task("RUN \"dir a/setup.exe\" " + md5 +
                                    "   \"/D=C:\\Program Files\" -x \t",
                                "TDownloadTaskFileRun RUN <dir a/setup.exe> <" + md5 +
                                    "> <   \"/D=C:\\Program Files\" -x>")}
            << "" << false;
        QTest::newRow("RUN without arguments")
            << QByteArray("Run a.xls " + m)
            << QStringList{task("Run a.xls " + md5,
                                "TDownloadTaskFileRun RUN <a.xls> <" + md5 + "> <>")}
            << "" << false;
        QTest::newRow("RUN without digest: ignored")
            << QByteArray("RUN setup.exe") << QStringList{} << "" << false;
        QTest::newRow("FILE-UPDATE in mixed case, fourth word ignored")
            << QByteArray("File-Update forms/af.xls " + m + " C:\\AF\\af.xls extra")
            << QStringList{task("File-Update forms/af.xls " + md5 + " C:\\AF\\af.xls extra",
                                "TDownloadTaskFileUpdate FILE-UPDATE <forms/af.xls> <" + md5 +
                                    "> <C:/AF/af.xls>")}
            << "" << false;
        QTest::newRow("FILE-UPDATE with two words: ignored")
            << QByteArray("FILE-UPDATE af.xls " + m) << QStringList{} << "" << false;
        QTest::newRow("FILE-UPDATE %ZUBEXEDIR%")
            << QByteArray("FILE-UPDATE a.xls " + m + " %ZUBEXEDIR%\\Formos\\AF.xls")
            << QStringList{task("FILE-UPDATE a.xls " + md5 + " %ZUBEXEDIR%\\Formos\\AF.xls",
                                "TDownloadTaskFileUpdate FILE-UPDATE <a.xls> <" + md5 + "> <" +
                                    exeDir + "/Formos/AF.xls>")}
            << "" << false;
        QTest::newRow("FILE-UPDATE %zubexedir% in lower case and an environment variable")
            << QByteArray("FILE-UPDATE a.xls " + m + " %zubexedir%/%KELMIRA_TEST_USER%\\AF.xls")
            << QStringList{task("FILE-UPDATE a.xls " + md5 +
                                    " %zubexedir%/%KELMIRA_TEST_USER%\\AF.xls",
                                "TDownloadTaskFileUpdate FILE-UPDATE <a.xls> <" + md5 + "> <" +
                                    exeDir + "/jonas/AF.xls>")}
            << "" << false;
        QTest::newRow("FILE-UPDATE percent cases")
            << QByteArray("FILE-UPDATE a " + m + " C:\\Data\\%KELMIRA_TEST_USER%\\AF.xls\n" +
                          "FILE-UPDATE b " + m + " 50%.xls\n" + "FILE-UPDATE c " + m +
                          " a%%b.xls\n" + "FILE-UPDATE d " + m + " a%KELMIRA_UNSET_X%b\n" +
                          "FILE-UPDATE e " + m + " %KELMIRA_TEST_USER%-50%.xls")
            << QStringList{task("FILE-UPDATE a " + md5 + " C:\\Data\\%KELMIRA_TEST_USER%\\AF.xls",
                                "TDownloadTaskFileUpdate FILE-UPDATE <a> <" + md5 +
                                    "> <C:/Data/jonas/AF.xls>"),
                           task("FILE-UPDATE b " + md5 + " 50%.xls",
                                "TDownloadTaskFileUpdate FILE-UPDATE <b> <" + md5 + "> <50%.xls>"),
                           task("FILE-UPDATE c " + md5 + " a%%b.xls",
                                "TDownloadTaskFileUpdate FILE-UPDATE <c> <" + md5 + "> <ab.xls>"),
                           task("FILE-UPDATE d " + md5 + " a%KELMIRA_UNSET_X%b",
                                "TDownloadTaskFileUpdate FILE-UPDATE <d> <" + md5 + "> <ab>"),
                           task("FILE-UPDATE e " + md5 + " %KELMIRA_TEST_USER%-50%.xls",
                                "TDownloadTaskFileUpdate FILE-UPDATE <e> <" + md5 +
                                    "> <jonas-50%.xls>")}
            << "" << false;
        QTest::newRow("FILE-DELETE keeps percent signs")
            << QByteArray("FILE-DELETE %ZUBEXEDIR%\\old.xls")
            << QStringList{task("FILE-DELETE %ZUBEXEDIR%\\old.xls",
                                "TDownloadTaskFileDelete FILE-DELETE <%ZUBEXEDIR%/old.xls>")}
            << "" << false;
        QTest::newRow("leading blank, tab after the word: ignored")
            << QByteArray(" FILE-DELETE a.xls\r\nFILE-DELETE\ta.xls\r\nFILE-DELETE")
            << QStringList{} << "" << false;
        QTest::newRow("INI-UPDATE with a quoted value")
            << QByteArray("ini-update [MI]Nustatymai Archyvas \"Bylos %y.zbx\" ignored")
            << QStringList{task("ini-update [MI]Nustatymai Archyvas \"Bylos %y.zbx\" ignored",
                                "TDownloadTaskIniUpdate INI-UPDATE <[MI]Nustatymai> <Archyvas> "
                                "<Bylos %y.zbx>")}
            << "" << false;
        QTest::newRow("INI-UPDATE with an empty value: ignored")
            << QByteArray("INI-UPDATE Nustatymai Kontrole \"\"") << QStringList{} << "" << false;
        QTest::newRow("INI-UPDATE decoded from Windows-1257")
            << QByteArray("INI-UPDATE Siuntimas Tema \"Ataskaita \xE1 centr\xE0\"")
            << QStringList{task(QStringLiteral("INI-UPDATE Siuntimas Tema \"Ataskaita į centrą\""),
                                QStringLiteral("TDownloadTaskIniUpdate INI-UPDATE <Siuntimas> "
                                               "<Tema> <Ataskaita į centrą>"))}
            << "" << false;
        QTest::newRow("INI-DELETE of a section and of a key")
            << QByteArray("INI-DELETE Nustatymai\r\nINI-DELETE [MI]Nustatymai Kontrole")
            << QStringList{task("INI-DELETE Nustatymai",
                                "TDownloadTaskIniDelete INI-DELETE <Nustatymai> <>"),
                           task("INI-DELETE [MI]Nustatymai Kontrole",
                                "TDownloadTaskIniDelete INI-DELETE <[MI]Nustatymai> <Kontrole>")}
            << "" << false;
        QTest::newRow("SET-VERSION, extra words and blanks")
            << QByteArray("SET-VERSION   2.1 beta \t\r\nSET-VERSION \"\"")
            << QStringList{task("SET-VERSION   2.1 beta \t",
                                "TDownloadTaskSetVersion SET-VERSION <2.1>")}
            << "" << false;
        QTest::newRow("comments and unknown words")
            << QByteArray("#\n# SET-VERSION 1\n#SET-VERSION 2\nFILE-COPY a b\nRUNX a " + m +
                          "\n\n   \n")
            << QStringList{} << "" << false;
        QTest::newRow("CR-only line ends")
            << QByteArray("SET-VERSION 1\rSET-VERSION 2\r")
            << QStringList{task("SET-VERSION 1", "TDownloadTaskSetVersion SET-VERSION <1>"),
                           task("SET-VERSION 2", "TDownloadTaskSetVersion SET-VERSION <2>")}
            << "" << false;
        QTest::newRow("mixed line ends")
            << QByteArray("SET-VERSION 1\r\nSET-VERSION 2\nSET-VERSION 3\r\rSET-VERSION 4")
            << QStringList{task("SET-VERSION 1", "TDownloadTaskSetVersion SET-VERSION <1>"),
                           task("SET-VERSION 2", "TDownloadTaskSetVersion SET-VERSION <2>"),
                           task("SET-VERSION 3", "TDownloadTaskSetVersion SET-VERSION <3>"),
                           task("SET-VERSION 4", "TDownloadTaskSetVersion SET-VERSION <4>")}
            << "" << false;
        QTest::newRow("a NUL ends the text")
            << QByteArray("SET-VERSION 1\r\nSET-VERSION 2\0\r\nSET-VERSION 3", 44)
            << QStringList{task("SET-VERSION 1", "TDownloadTaskSetVersion SET-VERSION <1>"),
                           task("SET-VERSION 2", "TDownloadTaskSetVersion SET-VERSION <2>")}
            << "" << false;
        QTest::newRow("two identical lines, two tasks")
            << QByteArray("FILE-DELETE a\nFILE-DELETE a")
            << QStringList{task("FILE-DELETE a", "TDownloadTaskFileDelete FILE-DELETE <a>"),
                           task("FILE-DELETE a", "TDownloadTaskFileDelete FILE-DELETE <a>")}
            << "" << false;
        QTest::newRow("NO-UPDATES before a task")
            << QByteArray("NO-UPDATES whatever\r\nSET-VERSION 2")
            << QStringList{task("SET-VERSION 2", "TDownloadTaskSetVersion SET-VERSION <2>")} << ""
            << true;
        QTest::newRow("REDIRECT with a target ends the file")
            << QByteArray("SET-VERSION 1\r\nredirect  public_html/x/Update.txt \r\nSET-VERSION 2")
            << QStringList{task("SET-VERSION 1", "TDownloadTaskSetVersion SET-VERSION <1>")}
            << "public_html/x/Update.txt" << false;
        QTest::newRow("REDIRECT without a target ends the file too")
            << QByteArray("REDIRECT\r\nSET-VERSION 2\r\nREDIRECT b.txt") << QStringList{} << ""
            << false;
    }

    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, tasks);
        QFETCH(QString, redirect);
        QFETCH(bool, noUpdates);

        TParseOnlyOwner owner;
        TDownloadTaskList list;
        list.push_back({QStringLiteral("earlier file"),
                        std::make_unique<TDownloadTaskSetVersion>(owner, QStringLiteral("0"))});
        const TInstructionsResult result = ParseInstructions(text, owner, list);

        QStringList parsed;
        for (std::size_t i = 1; i < list.size(); ++i) {
            QCOMPARE(&list[i].Task->Owner(), &owner);
            parsed << list[i].Line + QStringLiteral(" => ") + DescribeTask(*list[i].Task);
        }
        QCOMPARE(list.front().Line, QStringLiteral("earlier file")); // entries before stay first
        QCOMPARE(parsed, tasks);
        QCOMPARE(result.Redirect, redirect);
        QCOMPARE(result.NoUpdates, noUpdates);
    }
};

QTEST_GUILESS_MAIN(TInstructionParserTest)
#include "tst_instructionparser.moc"
