// Reading a sent-files history file back: the path column of every line.
#include "uHistoryOpen.h"
#include "uSentHistoryReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSentHistoryReader : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void readSentHistory()
    {
        const QString longPath =
            QStringLiteral("/ilgas/") + QString(300, u'ž') + QStringLiteral(".xls");
        QByteArray bytes;
        bytes += "2006-12-12 09:05:03  /AF/\xe0\xf0\xe8.xls" + QByteArray(240, ' ') + "\r\n";
        bytes += "\r\n";
        bytes += "short line\r\n";
        bytes += QByteArray("2006-12-12 09:05:03 ").leftJustified(20, ' ') +
                 QByteArray(longPath.size(), 'x') + "\r\n";
        bytes += "2006-12-12 09:05:04 /Lg/Bylos.zbx";
        const QString path = FDir.path() + QStringLiteral("/history.zbx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const QStringList paths = ReadSentHistory(path);
        QCOMPARE(paths.size(), 3);
        QCOMPARE(paths.at(0), QStringLiteral("/AF/ąšč.xls"));
        QCOMPARE(paths.at(1), QString(longPath.size(), u'x'));
        QCOMPARE(paths.at(2), QStringLiteral("/Lg/Bylos.zbx"));
        QVERIFY(IsSentHistoryFile(paths.at(2)));
        QVERIFY(IsSentHistoryFile(QStringLiteral("/Lg/B.ZBX")));
        QVERIFY(!IsSentHistoryFile(paths.at(0)));
    }

    // The history workspace's open command over a small folder: h1.zbx,
    // H2.ZBX, F.xls, G.xls, folder sub/ and folder d.zbx/.
    void historyOpenStep_data()
    {
        QTest::addColumn<QStringList>("selected"); // "name:kind"
        QTest::addColumn<QString>("onView");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("target");
        const int nothing = int(THistoryOpen::Nothing);
        const int show = int(THistoryOpen::ShowHistory);
        const int open = int(THistoryOpen::OpenFiles);
        QTest::newRow("none, folder on view") << QStringList() << "sub/" << nothing << "";
        QTest::newRow("none, history on view") << QStringList() << "h1.zbx" << show << "h1.zbx";
        QTest::newRow("none, gone history on view") << QStringList() << "x.zbx" << nothing << "";
        QTest::newRow("none, nothing on view") << QStringList() << "" << nothing << "";
        QTest::newRow("one workbook") << QStringList{"F.xls:file"} << "" << open << "";
        QTest::newRow("one history, upper case")
            << QStringList{"H2.ZBX:file"} << "h1.zbx" << show << "H2.ZBX";
        QTest::newRow("one gone history") << QStringList{"x.zbx:file"} << "" << nothing << "";
        QTest::newRow("one gone workbook") << QStringList{"x.xls:file"} << "" << nothing << "";
        QTest::newRow("one folder") << QStringList{"sub:dir"} << "" << nothing << "";
        QTest::newRow("folder named as history") << QStringList{"d.zbx:dir"} << "" << nothing << "";
        QTest::newRow("two workbooks, one gone")
            << QStringList{"F.xls:file", "x.xls:file"} << "" << open << "";
        QTest::newRow("two histories")
            << QStringList{"h1.zbx:file", "H2.ZBX:file"} << "" << nothing << "";
        QTest::newRow("workbook and history")
            << QStringList{"F.xls:file", "h1.zbx:file"} << "" << nothing << "";
        QTest::newRow("workbook and folder")
            << QStringList{"G.xls:file", "sub:dir"} << "" << nothing << "";
    }
    void historyOpenStep()
    {
        QFETCH(QStringList, selected);
        QFETCH(QString, onView);
        QFETCH(int, action);
        QFETCH(QString, target);
        const QString root = FDir.path() + QStringLiteral("/open/");
        QDir().mkpath(root + QStringLiteral("sub"));
        QDir().mkpath(root + QStringLiteral("d.zbx"));
        for (const QString name : {"h1.zbx", "H2.ZBX", "F.xls", "G.xls"}) {
            QFile file(root + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QList<TSelectedItem> items;
        for (const QString& entry : selected)
            items.append({entry.section(u':', 0, 0), entry.section(u':', 1),
                          root + entry.section(u':', 0, 0)});
        const THistoryOpenStep step = HistoryOpenStep(items, root + onView);
        QCOMPARE(int(step.Action), action);
        QCOMPARE(step.Target, target.isEmpty() ? QString() : root + target);
    }

    void unreadableHistory()
    {
        QVERIFY_THROWS_EXCEPTION(std::exception, ReadSentHistory(FDir.path()));
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 ReadSentHistory(FDir.path() + QStringLiteral("/none.zbx")));
    }
};

QTEST_GUILESS_MAIN(TestSentHistoryReader)
#include "tst_senthistoryreader.moc"
