// Reading a sent-files history file back: the path column of every line.
#include "uSentHistoryReader.h"

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

    void unreadableHistory()
    {
        QVERIFY_THROWS_EXCEPTION(std::exception, ReadSentHistory(FDir.path()));
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 ReadSentHistory(FDir.path() + QStringLiteral("/none.zbx")));
    }
};

QTEST_GUILESS_MAIN(TestSentHistoryReader)
#include "tst_senthistoryreader.moc"
