// The servers a check tries, built from "Serveriai", "Proxy" and the system
// proxy.
#include "uServerList.h"

#include <QTest>

namespace {

QString Describe(const TServerList& list)
{
    QStringList lines;
    for (const TServerSettings& s : list)
        lines << QStringLiteral("%1:%2@%3:%4 (%5:%6)")
                     .arg(s.UserName, s.Password, s.Host)
                     .arg(s.Port)
                     .arg(s.ProxyHost)
                     .arg(s.ProxyPort);
    return lines.join(u'\n');
}

} // namespace

class TestServerList : public QObject
{
    Q_OBJECT

private slots:
    void appendServers_data()
    {
        QTest::addColumn<QString>("servers");
        QTest::addColumn<QString>("proxyText");
        QTest::addColumn<QString>("systemProxy"); // host:port, as the reader gives it
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("two servers, the second with a login")
            << " a.lt , jonas : slaptas @ b.lt : 2121 "
            << ""
            << "" << QStringList{":@a.lt:21 (:0)", "jonas:slaptas@b.lt:2121 (:0)"};
        QTest::newRow("login with two colons") << "u:p:q@h.lt"
                                               << ""
                                               << "" << QStringList{"u:p:q@h.lt:21 (:0)"};
        QTest::newRow("login without password, port not a number")
            << "user@h.lt:abc"
            << ""
            << "" << QStringList{"user:@h.lt:21 (:0)"};
        QTest::newRow("empty, blank and port-only entries skipped")
            << ", ,:21,h.lt:,"
            << ""
            << "" << QStringList{":@h.lt:21 (:0)"};
        QTest::newRow("a second at-sign belongs to the address")
            << "u@v@h.lt"
            << ""
            << "" << QStringList{"u:@v@h.lt:21 (:0)"};
        QTest::newRow("nothing configured: the default host with the client code")
            << ""
            << ""
            << "" << QStringList{"47150926:47150926@default.lt:21 (:0)"};
        QTest::newRow("proxy without port: proxied entry first, then direct")
            << "a.lt,b.lt:2"
            << "px.lt"
            << ""
            << QStringList{":@a.lt:21 (px.lt:21)", ":@a.lt:21 (:0)", ":@b.lt:2 (px.lt:21)",
                           ":@b.lt:2 (:0)"};
        QTest::newRow("proxy with port, no server: only the proxied default host")
            << ""
            << " px.lt : 8021 "
            << "" << QStringList{"47150926:47150926@default.lt:21 (px.lt:8021)"};
        QTest::newRow("proxy with a port that is not a number")
            << "a.lt"
            << "px.lt:x"
            << "" << QStringList{":@a.lt:21 (px.lt:21)", ":@a.lt:21 (:0)"};
        QTest::newRow("system proxy, no server: proxied and direct default host")
            << ""
            << ""
            << "sys.lt:3128"
            << QStringList{"47150926:47150926@default.lt:21 (sys.lt:3128)",
                           "47150926:47150926@default.lt:21 (:0)"};
        QTest::newRow("proxy text without a host: nothing to try") << ""
                                                                   << ":8021"
                                                                   << "" << QStringList{};
    }

    void appendServers()
    {
        QFETCH(QString, servers);
        QFETCH(QString, proxyText);
        QFETCH(QString, systemProxy);
        QFETCH(QStringList, expected);

        const TProxyAddress proxy = proxyText.isEmpty()
                                        ? TProxyAddress{systemProxy.section(u':', 0, 0),
                                                        systemProxy.section(u':', 1).toInt()}
                                        : ParseProxyText(proxyText);
        TServerList list;
        AppendServers(list, servers, proxyText, proxy, QStringLiteral("47150926"),
                      QStringLiteral("default.lt"));
        QCOMPARE(Describe(list), expected.join(u'\n'));
    }

    void hidePasswords_data()
    {
        QTest::addColumn<QString>("servers");
        QTest::addColumn<QString>("logged");
        QTest::newRow("none") << "a.lt, b.lt:2121"
                              << "a.lt, b.lt:2121";
        QTest::newRow("user without password") << "u@a.lt"
                                               << "u@a.lt";
        QTest::newRow("two entries, blanks kept") << " u:p@a.lt:21 , v: q r @b.lt"
                                                  << " u:***@a.lt:21 , v:***@b.lt";
        QTest::newRow("colons and an @ in the password") << "u:p:q@r@a.lt"
                                                         << "u:***@r@a.lt";
        QTest::newRow("empty password") << "u:@a.lt"
                                        << "u:***@a.lt";
    }

    void hidePasswords()
    {
        QFETCH(QString, servers);
        QFETCH(QString, logged);
        QCOMPARE(HidePasswords(servers), logged);
    }

    void laterChecksAppendBehindAndMoveToFront()
    {
        TServerList list;
        AppendServers(list, QStringLiteral("a.lt,b.lt"), {}, {}, QStringLiteral("1"));
        MoveServerToFront(list, 1);
        AppendServers(list, QStringLiteral("a.lt,b.lt"), {}, {}, QStringLiteral("1"));
        QCOMPARE(Describe(list), QStringList({":@b.lt:21 (:0)", ":@a.lt:21 (:0)", ":@a.lt:21 (:0)",
                                              ":@b.lt:21 (:0)"})
                                     .join(u'\n'));
    }
};

QTEST_GUILESS_MAIN(TestServerList)
#include "tst_serverlist.moc"
