#include "uCodePage.h"
#include "uError.h"
#include "uSentHistory.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QDateTime Noon(QDate(2006, 12, 12), QTime(12, 0, 5));

} // namespace

class TestSentHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Byte for byte: 20 columns of time, 256 of path, CRLF, Windows-1257.
    void lineBytes_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Lithuanian path")
            << QStringLiteral("2006-12-12 09:05:03") << QStringLiteral("/Siųsti/Ūkis ąčę.xls")
            << QByteArray("2006-12-12 09:05:03 ") +
                   QByteArray("/Si\xf8sti/\xdbkis \xe0\xe8\xe6.xls") + QByteArray(256 - 20, ' ') +
                   "\r\n";
        const QString longPath = QStringLiteral("/a/") + QString(300, QLatin1Char('x'));
        QTest::newRow("path longer than 256 is not cut")
            << QStringLiteral("12/12/06 9:05:03") << longPath
            << QByteArray("12/12/06 9:05:03    ") + longPath.toLatin1() + "\r\n";
        QTest::newRow("line break in the path stays in its line")
            << QStringLiteral("12/12/06 9:05:03") << QStringLiteral("/a\r\nb.xls")
            << QByteArray("12/12/06 9:05:03    /a??b.xls") + QByteArray(256 - 9, ' ') + "\r\n";
        const QString longTime = QStringLiteral("Tuesday, 12 December 2006 09:05:03");
        QTest::newRow("time longer than 20 is not cut")
            << longTime << QStringLiteral("/a.xls")
            << longTime.toLatin1() + "/a.xls" + QByteArray(250, ' ') + "\r\n";
        QTest::newRow("a character beyond U+FFFF is one column")
            << QStringLiteral("12:00 \U0001F600") << QStringLiteral("/\U0001F600.xls")
            << QByteArray("12:00 ?") + QByteArray(13, ' ') + "/?.xls" + QByteArray(250, ' ') +
                   "\r\n";
    }
    void lineBytes()
    {
        QFETCH(QString, time);
        QFETCH(QString, path);
        QTEST(SentHistoryLine({time, path}), "expected");
    }

    // Lines are appended in list order; an existing file keeps its content.
    void appendsInOrderToOneFile()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString pattern = QStringLiteral("Visos siuntos.zbx");
        const QString path = SentHistoryPath(base, pattern, Noon);
        QCOMPARE(path, base + pattern);
        const QList<THistoryEntry> first{{QStringLiteral("t1"), QStringLiteral("/c.xls")},
                                         {QStringLiteral("t1"), QStringLiteral("/a.xls")},
                                         {QStringLiteral("t1"), QStringLiteral("/b.xls")}};
        AppendSentHistory(path, first);
        // A later send with a pattern without placeholders lands in the same file.
        const QString later = SentHistoryPath(base, pattern, Noon.addDays(40));
        QCOMPARE(later, path);
        AppendSentHistory(later, {{QStringLiteral("t2"), QStringLiteral("/d.xls")}});
        QByteArray expected;
        for (const THistoryEntry& entry : first)
            expected += SentHistoryLine(entry);
        expected += SentHistoryLine({QStringLiteral("t2"), QStringLiteral("/d.xls")});
        QCOMPARE(ReadAll(path), expected);
    }

    // A last line without its line break (a write cut short) stays as it is,
    // and the new entries start on lines of their own.
    void appendsAfterCutLine_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("separator");
        QTest::newRow("cut line") << QByteArray("2006-12-12 09:05:03 /a.xls") << QByteArray("\r\n");
        QTest::newRow("cut after CR") << QByteArray("t /a.xls\r") << QByteArray("\r\n");
        QTest::newRow("whole line") << QByteArray("t /a.xls\r\n") << QByteArray();
        QTest::newRow("empty file") << QByteArray() << QByteArray();
    }
    void appendsAfterCutLine()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, separator);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.zbx"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
        file.close();
        const THistoryEntry entry{QStringLiteral("t2"), QStringLiteral("/d.xls")};
        AppendSentHistory(path, {entry});
        QCOMPARE(ReadAll(path), old + separator + SentHistoryLine(entry));
    }

    void yearFolderIsCreated()
    {
        QTemporaryDir dir;
        const QString path = SentHistoryPath(
            dir.path() + QLatin1Char('/'), QStringLiteral("%Y\\Bylos siųstos %y-%m-%d.zbx"), Noon);
        QCOMPARE(path, dir.path() + QStringLiteral("/2006/Bylos siųstos 2006-12-12.zbx"));
        AppendSentHistory(path, {{QStringLiteral("t"), QStringLiteral("/a.xls")}});
        QVERIFY(QFile::exists(path));
    }

    // The mail has gone by now; the caller tells the user why the history
    // could not be written.
    void noHistoryFolderIsAnError()
    {
        try {
            SentHistoryPath(QString(), QStringLiteral("Bylos siųstos %y-%m-%d.zbx"), Noon);
            QFAIL("a history path without a folder was accepted");
        } catch (const EAppError& error) {
            QCOMPARE(error.Message(),
                     QStringLiteral("Nenurodytas išsiųstų AF aplankas (nustatymas „Lg perziura "
                                    "pirma“ tuščias arba toks aplankas neegzistuoja)."));
        }
    }

    void unwritableHistoryIsAnError_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("historyName");
        // A folder where the file should be; a file where a folder should be.
        QTest::newRow("file cannot be opened")
            << QStringLiteral("h.zbx") << QStringLiteral("h.zbx");
        QTest::newRow("folder cannot be made")
            << QStringLiteral("2006") << QStringLiteral("2006/h.zbx");
    }
    void unwritableHistoryIsAnError()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, historyName);
        QTemporaryDir dir;
        if (blocker == historyName)
            QVERIFY(QDir(dir.path()).mkdir(blocker));
        else
            QVERIFY(QFile(dir.filePath(blocker)).open(QIODevice::WriteOnly));
        const QString path = dir.filePath(historyName);
        try {
            AppendSentHistory(path, {{QStringLiteral("t"), QStringLiteral("/a.xls")}});
            QFAIL("the history was reported as written");
        } catch (const EAppError& error) {
            QVERIFY2(error.Message().contains(QFileInfo(path).path()), qPrintable(error.Message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestSentHistory)
#include "tst_senthistory.moc"
