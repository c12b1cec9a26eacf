#include "uProxySettings.h"

#include <QTest>

namespace {
const char* const Variables[] = {"ftp_proxy",   "FTP_PROXY",   "http_proxy", "HTTP_PROXY",
                                 "https_proxy", "HTTPS_PROXY", "all_proxy",  "ALL_PROXY"};
}

class TProxySettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const char* name : Variables)
            qunsetenv(name);
    }
    void cleanupTestCase() { init(); }

    // The proxy for FTP (and HTTP) from the environment variables.
    void fromEnvironment_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("ftpHost");
        QTest::addColumn<int>("ftpPort");
        QTest::addColumn<QString>("httpHost");
        QTest::addColumn<int>("httpPort");

        QTest::newRow("no proxy") << QStringList{} << "" << 21 << "" << 80;
        QTest::newRow("ftp_proxy with scheme, port and slash")
            << QStringList{"ftp_proxy=http://files:2121/"} << "files" << 2121 << "" << 80;
        QTest::newRow("ftp_proxy without scheme and port")
            << QStringList{"ftp_proxy=files"} << "files" << 21 << "" << 80;
        QTest::newRow("ftp_proxy with login")
            << QStringList{"ftp_proxy=ftp://me:p@ss@files:2121"} << "files" << 2121 << "" << 80;
        QTest::newRow("ftp_proxy with a colon, no port")
            << QStringList{"ftp_proxy=files:"} << "files" << 0 << "" << 80;
        QTest::newRow("http_proxy stands in for FTP")
            << QStringList{"http_proxy=http://web:8080"} << "web" << 8080 << "web" << 8080;
        QTest::newRow("ftp and http") << QStringList{"http_proxy=web:8080", "ftp_proxy=files:2121"}
                                      << "files" << 2121 << "web" << 8080;
        QTest::newRow("https only")
            << QStringList{"https_proxy=https://secure:443"} << "" << 21 << "" << 80;
        QTest::newRow("upper case")
            << QStringList{"FTP_PROXY=FILES:3128"} << "FILES" << 3128 << "" << 80;
        QTest::newRow("lower case first")
            << QStringList{"ftp_proxy=low:1", "FTP_PROXY=up:2"} << "low" << 1 << "" << 80;
        QTest::newRow("all_proxy alone") << QStringList{"all_proxy=socks5://gateway:3128"}
                                         << "gateway" << 3128 << "gateway" << 3128;
        QTest::newRow("all_proxy behind an own variable")
            << QStringList{"all_proxy=gateway:3128", "http_proxy=web:8080"} << "gateway" << 3128
            << "web" << 8080;
        QTest::newRow("empty variable") << QStringList{"ftp_proxy="} << "" << 21 << "" << 80;
    }

    void fromEnvironment()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, ftpHost);
        QFETCH(int, ftpPort);
        QFETCH(QString, httpHost);
        QFETCH(int, httpPort);
        for (const QString& assignment : environment)
            qputenv(assignment.section(QLatin1Char('='), 0, 0).toLatin1().constData(),
                    assignment.section(QLatin1Char('='), 1).toUtf8());
        const TProxySettingsReader reader;
        QCOMPARE(reader.GetProxyHost(ppFtp), ftpHost);
        QCOMPARE(reader.GetProxyPort(ppFtp), ftpPort);
        QCOMPARE(reader.GetProxyHost(ppHttp), httpHost);
        QCOMPARE(reader.GetProxyPort(ppHttp), httpPort);
    }

    // The entry rules over "ProxyServer" texts.
    void protocolEntry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("entry");
        QTest::newRow("one proxy for all") << "gateway:3128" << int(ppFtp) << "gateway:3128";
        QTest::newRow("own entry") << "http=web:8080;ftp=files:2121" << int(ppFtp) << "files:2121";
        QTest::newRow("name in other case") << "FTP=files:2121" << int(ppFtp) << "files:2121";
        QTest::newRow("http stands in") << "http=web:8080" << int(ppFtp) << "web:8080";
        QTest::newRow("empty own entry: http") << "ftp=;http=web:8080" << int(ppFtp) << "web:8080";
        QTest::newRow("neither") << "https=secure:443;gopher=g:70" << int(ppFtp) << "";
        QTest::newRow("gopher") << "https=secure:443;gopher=g:70" << int(ppGopher) << "g:70";
    }

    void protocolEntry()
    {
        QFETCH(QString, text);
        QFETCH(int, protocol);
        QFETCH(QString, entry);
        QCOMPARE(
            TProxySettingsReader::GetProtocolEntry(text, static_cast<TProxyProtocol>(protocol)),
            entry);
    }
};

QTEST_GUILESS_MAIN(TProxySettingsTest)
#include "tst_proxysettings.moc"
