// Parameters written into a command line come back as the same words.
#include "uCommandLine.h"
#include "uShared.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void joinParams_data()
    {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("joined");
        QTest::newRow("plain") << QStringList{"-i", "/a/k.ini"} << 0 << "-i /a/k.ini";
        QTest::newRow("blank quoted")
            << QStringList{"-i", "/a b/k.ini"} << 0 << "-i \"/a b/k.ini\"";
        QTest::newRow("inner quote doubled")
            << QStringList{"say \"hi\""} << 0 << "\"say \"\"hi\"\"\"";
        QTest::newRow("from the second") << QStringList{"/X", "a b", "c"} << 1 << "\"a b\" c";
        QTest::newRow("past the last") << QStringList{"a"} << 1 << "";
        QTest::newRow("none") << QStringList{} << 0 << "";
    }
    void joinParams()
    {
        QFETCH(QStringList, params);
        QFETCH(int, from);
        QFETCH(QString, joined);
        QCOMPARE(JoinParams(params, from), joined);
    }

    // What a restart writes, the command-word reader splits back into the
    // same parameters (as long as none holds a double quote).
    void roundTrip()
    {
        const QStringList params = {"-i", "/kelias su tarpu/k.ini", "/REMOVE_TEMP_EXE", "ąčę"};
        const QString line = JoinParams(params, 0);
        QStringList words;
        for (int n = 1; n <= params.size(); ++n)
            words.append(GetCommandWord(line, n));
        QCOMPARE(words, params);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
