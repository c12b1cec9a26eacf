#include "uMailError.h"
#include "uMimeMessage.h"
#include "uSmtpClient.h"
#include "uSmtpTestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/file.h>

namespace {

QString WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

TSmtpServer Server(int port, int timeoutMs = 60000)
{
    TSmtpServer server;
    server.Host = QStringLiteral("127.0.0.1");
    server.Port = port;
    server.TimeoutMs = timeoutMs;
    return server;
}

QByteArray RandomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

} // namespace

class TestSmtpClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // What a reader sees: every attachment byte for byte under its own name,
    // Lithuanian letters in subject, body, names and file names, the blind
    // copy in the envelope only.
    void messageArrivesAsComposed()
    {
        TSmtpTestServer server;
        QTemporaryDir dir;
        const QList<QPair<QString, QByteArray>> files{
            {QStringLiteral("binary.xls"), RandomBytes(300001)},
            {QStringLiteral("Ūkio ataskaita už 2006 m. ketvirtą ketvirtį (galutinė).xls"),
             RandomBytes(1000)},
            {QStringLiteral("empty.xls"), QByteArray()},
            {QStringLiteral("say \"hi\".txt"), QByteArray("hi\r\n.\r\n")},
        };
        TMimeMessage message;
        message.SetFrom(QStringLiteral("Ona Šimkutė <ona@imone.lt>"));
        message.SetTo(QStringLiteral("Centras <centras@centras.lt>"));
        message.AddBcc(QStringLiteral("ona@imone.lt"));
        const QString subject = QStringLiteral("  AF ataskaitos: ąčęėįšųūž ĄČĘĖĮŠŲŪŽ  ");
        message.SetSubject(subject);
        const QStringList body{QStringLiteral("Laba diena,"), QString(),
                               QStringLiteral(".siunčiu ataskaitas."), QStringLiteral("Ona")};
        message.SetBody(body);
        for (const auto& [name, content] : files)
            message.AddAttachment(WriteFile(dir.filePath(name), content));

        TSmtpClient client;
        QList<qint64> progress;
        client.OnProgress = [&](qint64 value) { progress.append(value); };
        const TSmtpOutcome outcome = client.Send(Server(server.Port()), message);
        QVERIFY2(outcome.Ok(), qPrintable(outcome.ErrorText));
        QCOMPARE(progress.first(), 0);
        QCOMPARE(progress.last(), -1);
        QCOMPARE(progress[progress.size() - 2], message.Size());

        QCOMPARE(server.Messages().size(), 1);
        const QString eml = server.Messages().first();
        const QJsonObject envelope = TSmtpTestServer::Envelope(eml);
        QCOMPARE(envelope[QStringLiteral("mail_from")].toString(), QStringLiteral("ona@imone.lt"));
        QCOMPARE(
            envelope[QStringLiteral("rcpt_tos")].toArray(),
            (QJsonArray{QStringLiteral("centras@centras.lt"), QStringLiteral("ona@imone.lt")}));
        const QJsonObject mail = TSmtpTestServer::Parse(eml);
        QCOMPARE(mail[QStringLiteral("defects")].toArray(), QJsonArray());
        QVERIFY(!mail[QStringLiteral("header_names")].toArray().contains(QStringLiteral("bcc")));
        QCOMPARE(mail[QStringLiteral("from")].toString(),
                 QStringLiteral("Ona Šimkutė <ona@imone.lt>"));
        QCOMPARE(mail[QStringLiteral("to")].toString(),
                 QStringLiteral("Centras <centras@centras.lt>"));
        QCOMPARE(mail[QStringLiteral("subject")].toString(), subject);
        QCOMPARE(mail[QStringLiteral("body")].toString(), body.join(QStringLiteral("\r\n")));
        const QJsonArray attachments = mail[QStringLiteral("attachments")].toArray();
        QCOMPARE(attachments.size(), files.size());
        for (int i = 0; i < files.size(); ++i) {
            const QJsonObject attachment = attachments[i].toObject();
            QCOMPARE(attachment[QStringLiteral("filename")].toString(), files[i].first);
            QCOMPARE(attachment[QStringLiteral("name")].toString(), files[i].first);
            QCOMPARE(attachment[QStringLiteral("content_type")].toString(),
                     QStringLiteral("application/octet-stream"));
            QCOMPARE(
                QByteArray::fromBase64(attachment[QStringLiteral("content")].toString().toLatin1()),
                files[i].second);
        }
    }

    // TLS from the first byte, newer versions negotiated, TLS 1.0 still
    // accepted from an old server; LOGIN checked by the server.
    void tlsWithLogin_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("oldServer");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right password") << QStringLiteral("slaptas žodis") << false << true;
        QTest::newRow("TLS 1.0 server") << QStringLiteral("slaptas žodis") << true << true;
        QTest::newRow("wrong password") << QStringLiteral("kitas") << false << false;
    }
    void tlsWithLogin()
    {
        QFETCH(QString, password);
        QFETCH(bool, oldServer);
        QFETCH(bool, accepted);
        QStringList options{QStringLiteral("--tls"), QStringLiteral("--auth"),
                            QStringLiteral("jonas:slaptas žodis")};
        if (oldServer)
            options.append(QStringLiteral("--old-tls"));
        TSmtpTestServer server(options);
        TMimeMessage message;
        message.SetFrom(QStringLiteral("jonas@imone.lt"));
        message.SetTo(QStringLiteral("centras@centras.lt"));
        TSmtpServer settings = Server(server.Port());
        settings.UseSsl = true;
        settings.Username = QStringLiteral("jonas");
        settings.Password = password;
        TSmtpClient client;
        const TSmtpOutcome outcome = client.Send(settings, message);
        QCOMPARE(outcome.Ok(), accepted);
        QCOMPARE(server.Messages().size(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(TSmtpTestServer::Envelope(server.Messages().first())[QStringLiteral("login")]
                         .toString(),
                     QStringLiteral("jonas"));
        else
            QVERIFY2(outcome.ErrorReply.startsWith(QStringLiteral("535")),
                     qPrintable(outcome.ErrorReply));
    }

    void errorReplyIsTheServersOwn()
    {
        TSmtpTestServer server({QStringLiteral("--fault"), QStringLiteral("reject-rcpt"),
                                QStringLiteral("--reply"),
                                QStringLiteral("550 5.7.1 Relaying denied")});
        TMimeMessage message;
        message.SetTo(QStringLiteral("x@kitur.lt"));
        TSmtpClient client;
        const TSmtpOutcome outcome = client.Send(Server(server.Port()), message);
        QVERIFY(!outcome.Ok());
        QCOMPARE(outcome.ErrorReply, QStringLiteral("550 5.7.1 Relaying denied"));
    }

    // A file the user cannot read, a folder, a missing file, or one another
    // program is writing (holding a write lock) is refused when the message is
    // built, with the reason.
    void unreadableAttachmentIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("locked by a writer") << QStringLiteral("locked");
    }
    void unreadableAttachmentIsRefused()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("a.xls"));
        QFile writer(path);
        if (kind == QLatin1String("folder"))
            QDir().mkpath(path);
        if (kind == QLatin1String("locked")) {
            QVERIFY(writer.open(QIODevice::WriteOnly));
            QCOMPARE(flock(writer.handle(), LOCK_EX), 0);
        }
        TMimeMessage message;
        try {
            message.AddAttachment(path);
            QFAIL("the attachment was accepted");
        } catch (const EMailError& error) {
            QVERIFY2(error.Message().startsWith(path + QStringLiteral(": ")),
                     qPrintable(error.Message()));
        }
    }

    // A file cut short while it goes out ends the send as a failure: the
    // server never gets a message that looks whole.
    void attachmentShrinkingDuringSendFails()
    {
        TSmtpTestServer server;
        QTemporaryDir dir;
        const QString path = WriteFile(dir.filePath(QStringLiteral("a.xls")), RandomBytes(2000000));
        TMimeMessage message;
        message.SetTo(QStringLiteral("c@c.lt"));
        message.AddAttachment(path);
        TSmtpClient client;
        client.OnProgress = [&](qint64 value) {
            if (value == 0)
                QFile::resize(path, 10);
        };
        const TSmtpOutcome outcome = client.Send(Server(server.Port()), message);
        QVERIFY(!outcome.Ok());
        QVERIFY2(outcome.ErrorText.startsWith(path), qPrintable(outcome.ErrorText));
        QCOMPARE(server.Messages().size(), 0);
    }

    // Abort from another thread ends a wait on a silent server at once, long
    // before its time-out.
    void abortEndsAWaitAtOnce()
    {
        TSmtpTestServer server({QStringLiteral("--fault"), QStringLiteral("silent")});
        TMimeMessage message;
        message.SetTo(QStringLiteral("c@c.lt"));
        TSmtpClient client;
        TSmtpOutcome outcome;
        QThread* thread =
            QThread::create([&] { outcome = client.Send(Server(server.Port(), 600000), message); });
        thread->start();
        QVERIFY(server.WaitForLine("CONNECTED"));
        client.Abort();
        QVERIFY(thread->wait(30000));
        delete thread;
        QCOMPARE(outcome.CurlCode, 42);
    }
};

QTEST_GUILESS_MAIN(TestSmtpClient)
#include "tst_smtpclient.moc"
