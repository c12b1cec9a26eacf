#include "uDownloadTaskStore.h"
#include "uUpdateLog.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class TUpdateLogTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString LogPath() const { return FDir.filePath(QStringLiteral("k.log")); }
    QString AiPath() const { return FDir.filePath(QStringLiteral("k_AI.ini")); }

    std::shared_ptr<IDownloadTaskStore> StoreWithLog(const QString& value)
    {
        QFile::remove(AiPath());
        auto store = std::make_shared<TDownloadTaskStore>(
            AiPath(), FDir.filePath(QStringLiteral("k_MI.ini")));
        if (!value.isNull())
            store->WriteString(QStringLiteral("Atnaujinimai"), QStringLiteral("Log"), value);
        return store;
    }

    QByteArray LogContent() const
    {
        QFile file(LogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QFile::remove(LogPath()); }

    void onOffSetting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("writes");
        QTest::newRow("T") << "T" << true;
        QTest::newRow("t") << "t" << false;
        QTest::newRow("yes") << "yes" << false;
        QTest::newRow("Y") << "Y" << true;
        QTest::newRow("Yes with blanks") << "  Yes " << true;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("N") << "N" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("missing") << QString() << false;
    }

    void onOffSetting()
    {
        QFETCH(QString, value);
        QFETCH(bool, writes);
        const auto store = StoreWithLog(value);
        TUpdateLog log(LogPath());
        log.WriteLog(store.get(), QStringLiteral("ApplicationStartup"));
        QCOMPARE(QFile::exists(LogPath()), writes);
        QCOMPARE(LogContent().endsWith(" ApplicationStartup\r\n"), writes);
    }

    void withoutStoreStaysOff()
    {
        TUpdateLog log(LogPath());
        log.WriteLog(nullptr, QStringLiteral("Start"));
        // Decided once: a store attached later does not switch it on.
        const auto store = StoreWithLog(QStringLiteral("T"));
        log.WriteLog(store.get(), QStringLiteral("Start"));
        QVERIFY(!QFile::exists(LogPath()));
    }

    void decidedOnceAndAppended()
    {
        QFile old(LogPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier run\r\n");
        old.close();

        const auto store = StoreWithLog(QStringLiteral("T"));
        TUpdateLog log(LogPath());
        log.WriteLog(store.get(), QStringLiteral("Rekursinis kreipinys į a/update.txt"));
        store->WriteString(QStringLiteral("Atnaujinimai"), QStringLiteral("Log"),
                           QStringLiteral("N"));
        log.WriteLog(store.get(), QStringLiteral("Start"));

        const QList<QByteArray> lines = LogContent().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QByteArray("earlier run\r"));
        // Windows-1257 on disk: "į" is the byte 0xE1.
        QVERIFY(lines[1].endsWith(" Rekursinis kreipinys \xE1 a/update.txt\r"));
        QVERIFY(lines[2].endsWith(" Start\r"));
        QCOMPARE(lines[3], QByteArray());
    }

    void twoThreadsKeepLinesWhole()
    {
        const auto store = StoreWithLog(QStringLiteral("T"));
        TUpdateLog log(LogPath());
        const auto writer = [&](const QString& name) {
            return QThread::create([&log, &store, name] {
                for (int i = 0; i < 1000; ++i)
                    log.WriteLog(store.get(),
                                 QStringLiteral("%1 line %2 of the check").arg(name).arg(i));
            });
        };
        std::unique_ptr<QThread> first(writer(QStringLiteral("GUI")));
        std::unique_ptr<QThread> second(writer(QStringLiteral("Thread")));
        first->start();
        second->start();
        QVERIFY(first->wait());
        QVERIFY(second->wait());

        const QString content = QString::fromLatin1(LogContent());
        QVERIFY(content.endsWith(QStringLiteral("\r\n")));
        const QStringList lines = content.chopped(2).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2000);
        const QRegularExpression whole(
            QStringLiteral("^[^\\r\\n]+ (GUI|Thread) line (\\d+) of the check$"));
        QMap<QString, int> next;
        for (const QString& line : lines) {
            const auto match = whole.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            QCOMPARE(match.captured(2).toInt(), next[match.captured(1)]++);
        }
        QCOMPARE(next.value(QStringLiteral("GUI")), 1000);
        QCOMPARE(next.value(QStringLiteral("Thread")), 1000);
    }

    // The time is left out at exactly midnight, to the second.
    void timestamp_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("midnight") << QTime(0, 0, 0, 0) << "2006-12-12";
        QTest::newRow("midnight and milliseconds") << QTime(0, 0, 0, 999) << "2006-12-12";
        QTest::newRow("one second after") << QTime(0, 0, 1) << "2006-12-12 00:00:01";
        QTest::newRow("noon") << QTime(12, 0, 0) << "2006-12-12 12:00:00";
        QTest::newRow("evening") << QTime(21, 5, 3) << "2006-12-12 21:05:03";
    }

    void timestamp()
    {
        QFETCH(QTime, time);
        QFETCH(QString, expected);
        const QLocale lithuanian(QLocale::Lithuanian, QLocale::Lithuania);
        QCOMPARE(LogTimestamp(QDateTime(QDate(2006, 12, 12), time), lithuanian), expected);
    }

    void fileName_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension") << "/opt/k/kelmira.ini"
                                   << "/opt/k/kelmira.log";
        QTest::newRow("none") << "/opt/k/conf"
                              << "/opt/k/conf.log";
        QTest::newRow("dot in a folder") << "/opt/k.d/conf"
                                         << "/opt/k.d/conf.log";
    }

    void fileName()
    {
        QFETCH(QString, base);
        QFETCH(QString, expected);
        QCOMPARE(UpdateLogFileName(base), expected);
    }
};

QTEST_GUILESS_MAIN(TUpdateLogTest)
#include "tst_updatelog.moc"
