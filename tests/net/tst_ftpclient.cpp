#include "uFtpClient.h"
#include "uFtpTestServer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>

namespace {

QByteArray RandomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(static_cast<quint32>(size));
    for (char& c : data)
        c = static_cast<char>(generator.bounded(256));
    return data;
}

void PutFile(const QString& root, const QString& relative, const QByteArray& content)
{
    const QString path = root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// Accepts so many bytes, then refuses, like a full disk.
class TFailingDevice : public QIODevice
{
public:
    explicit TFailingDevice(qint64 capacity) : FCapacity(capacity) { open(WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        if (FWritten + length > FCapacity) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        FWritten += length;
        return length;
    }

private:
    qint64 FCapacity;
    qint64 FWritten = 0;
};

// Counts what arrives so that another thread can see the transfer under way.
class TCountingDevice : public QIODevice
{
public:
    TCountingDevice() { open(WriteOnly); }
    std::atomic<qint64> Written{0};

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        Written += length;
        return length;
    }
};

// A part lists its acceptable alternatives separated by "||"; curl words
// some failures differently from one version to another.
bool ContainsAnyOf(const QString& message, const QString& part)
{
    const QStringList alternatives = part.split(QStringLiteral("||"));
    return std::any_of(alternatives.begin(), alternatives.end(),
                       [&message](const QString& alternative) {
                           return message.contains(alternative, Qt::CaseInsensitive);
                       });
}

// Fetches "large.bin" on a thread of its own, so that the test can watch,
// abort or outwait it; a failure's text lands in message.
std::unique_ptr<QThread> StartRetrieve(TFtpClient& client, QIODevice& out, QString& message)
{
    std::unique_ptr<QThread> thread(QThread::create([&client, &out, &message] {
        try {
            client.Retrieve(QStringLiteral("large.bin"), out);
        } catch (const EFtpError& error) {
            message = error.Message();
        }
    }));
    thread->start();
    return thread;
}

} // namespace

class TFtpClientTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FRoot;
    QByteArray FLarge = RandomBytes(3 * 1024 * 1024 + 17);

    void Login(TFtpClient& client, const TFtpTestServer& server)
    {
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = server.Port();
        client.UserName = server.Options().User;
        client.Password = server.Options().Password;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FRoot.isValid());
        PutFile(FRoot.path(), QStringLiteral("public_html/a b/c/update.txt"), "FILE-UPDATE x\r\n");
        PutFile(FRoot.path(), QStringLiteral("odd #%;&+ =?/ą ž.bin"), RandomBytes(1000));
        PutFile(FRoot.path(), QStringLiteral("empty.bin"), QByteArray());
        PutFile(FRoot.path(), QStringLiteral("large.bin"), FLarge);
    }

    void retrievesWholeFile_data()
    {
        QTest::addColumn<QString>("remotePath");
        QTest::newRow("nested, blank in a folder")
            << QStringLiteral("public_html/a b/c/update.txt");
        QTest::newRow("backslashes") << QStringLiteral("public_html\\a b\\c\\update.txt");
        QTest::newRow("odd characters") << QStringLiteral("odd #%;&+ =?/ą ž.bin");
        QTest::newRow("empty file") << QStringLiteral("empty.bin");
        QTest::newRow("large file") << QStringLiteral("large.bin");
    }

    void retrievesWholeFile()
    {
        QFETCH(QString, remotePath);
        TFtpTestServer server({FRoot.path()});
        QVERIFY2(server.Error().isEmpty(), qPrintable(server.Error()));
        TFtpClient client;
        Login(client, server);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.Retrieve(remotePath, out);

        QFile expected(FRoot.path() + QLatin1Char('/') + QString(remotePath).replace('\\', '/'));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QVERIFY(out.data() == expected.readAll());
    }

    // The update servers are reached directly, whatever proxy the
    // environment names for other programs.
    void ignoresProxyVariables()
    {
        TFtpTestServer server({FRoot.path()});
        QVERIFY2(server.Error().isEmpty(), qPrintable(server.Error()));
        TRefusingPort proxy;
        const QByteArray proxyUrl = "http://127.0.0.1:" + QByteArray::number(proxy.Port());
        qputenv("ftp_proxy", proxyUrl);
        qputenv("all_proxy", proxyUrl);
        const auto restore = qScopeGuard([] {
            qunsetenv("ftp_proxy");
            qunsetenv("all_proxy");
        });
        TFtpClient client;
        Login(client, server);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        client.Retrieve(QStringLiteral("public_html/a b/c/update.txt"), out);
        QCOMPARE(out.data(), QByteArray("FILE-UPDATE x\r\n"));
    }

    // Each failure is an error naming what went wrong; a file cut short never
    // passes for a whole one.
    void failuresRaiseClearErrors_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("remotePath");
        QTest::addColumn<bool>("refusedPort");
        QTest::addColumn<qint64>("dropAfter");
        QTest::addColumn<int>("dropReply");
        QTest::addColumn<qint64>("deviceCapacity");
        QTest::addColumn<QStringList>("expected");

        const QString ok = QStringLiteral("secret");
        QTest::newRow("wrong password")
            << QStringLiteral("wrong") << QStringLiteral("large.bin") << false << qint64(-1) << 0
            << qint64(-1) << QStringList{"Login denied", "(530 "};
        QTest::newRow("missing file")
            << ok << QStringLiteral("public_html/none.txt") << false << qint64(-1) << 0
            << qint64(-1) << QStringList{"Remote file not found", "(550 "};
        QTest::newRow("missing folder")
            << ok << QStringLiteral("no such/update.txt") << false << qint64(-1) << 0 << qint64(-1)
            << QStringList{"no such/update.txt", "(550 "};
        QTest::newRow("refused port")
            << ok << QStringLiteral("large.bin") << true << qint64(-1) << 0 << qint64(-1)
            << QStringList{"connect", "Connection refused"};
        // What curl has seen first when the server cuts the data connection
        // and answers 426 depends on timing: the short file or the reply.
        QTest::newRow("data connection cut, server says 426")
            << ok << QStringLiteral("large.bin") << false << qint64(100000) << 426 << qint64(-1)
            << QStringList{"100000 of 3145745 bytes||(426 Connection closed; transfer aborted.)"};
        QTest::newRow("data connection cut, server says 226")
            << ok << QStringLiteral("large.bin") << false << qint64(100000) << 226 << qint64(-1)
            << QStringList{"partial file", "100000 of 3145745 bytes"};
        QTest::newRow("destination refuses to store")
            << ok << QStringLiteral("large.bin") << false << qint64(-1) << 0 << qint64(50000)
            << QStringList{"cannot store the received data: No space left on device"};
    }

    void failuresRaiseClearErrors()
    {
        QFETCH(QString, password);
        QFETCH(QString, remotePath);
        QFETCH(bool, refusedPort);
        QFETCH(qint64, dropAfter);
        QFETCH(int, dropReply);
        QFETCH(qint64, deviceCapacity);
        QFETCH(QStringList, expected);

        TFtpTestServer::TOptions options{FRoot.path()};
        options.DropAfter = dropAfter;
        options.DropReply = dropReply;
        TFtpTestServer server(options);
        QVERIFY2(server.Error().isEmpty(), qPrintable(server.Error()));
        TRefusingPort refusing;
        TFtpClient client;
        Login(client, server);
        client.Password = password;
        if (refusedPort)
            client.Port = refusing.Port();

        std::unique_ptr<QIODevice> out;
        if (deviceCapacity >= 0) {
            out = std::make_unique<TFailingDevice>(deviceCapacity);
        } else {
            auto buffer = std::make_unique<QBuffer>();
            buffer->open(QIODevice::WriteOnly);
            out = std::move(buffer);
        }
        QString message;
        try {
            client.Retrieve(remotePath, *out);
        } catch (const EFtpError& error) {
            message = error.Message();
        }
        QVERIFY2(!message.isEmpty(), "the transfer passed for a success");
        QVERIFY2(message.startsWith(
                     QStringLiteral("FTP 127.0.0.1:%1 \"%2\": ").arg(client.Port).arg(remotePath)),
                 qPrintable(message));
        for (const QString& part : expected)
            QVERIFY2(ContainsAnyOf(message, part), qPrintable(message));
    }

    // A server that misbehaves ends the transfer with an error of the right
    // kind after the client's time-outs, never holds it for ever.
    void misbehavingServersEndTheTransfer_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("expected");

        QTest::newRow("accepts, then silence")
            << QStringLiteral("silent") << QStringLiteral("Timeout was reached");
        QTest::newRow("silence after the login")
            << QStringLiteral("after-login") << QStringLiteral("Timeout was reached");
        QTest::newRow("silence in the middle of the file")
            << QStringLiteral("stall-after") << QStringLiteral("Timeout was reached");
        QTest::newRow("closes in the middle of a reply")
            << QStringLiteral("cut-reply")
            << QStringLiteral("Weird server reply||Server returned nothing||receiving data");
        QTest::newRow("reply line of 1 MiB")
            << QStringLiteral("long-line")
            << QStringLiteral("Weird server reply||receiving data||Timeout was reached");
        QTest::newRow("garbage instead of a reply")
            << QStringLiteral("garbage")
            << QStringLiteral("Weird server reply||Timeout was reached");
    }

    void misbehavingServersEndTheTransfer()
    {
        QFETCH(QString, mode);
        QFETCH(QString, expected);

        std::unique_ptr<TServerProcess> server;
        if (mode == QLatin1String("stall-after")) {
            TFtpTestServer::TOptions options{FRoot.path()};
            options.StallAfter = 100000;
            server = std::make_unique<TFtpTestServer>(options);
        } else {
            server = std::make_unique<TMisbehavingFtpServer>(mode);
        }
        QVERIFY2(server->Error().isEmpty(), qPrintable(server->Error()));
        TFtpClient client;
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = server->Port();
        client.UserName = QStringLiteral("user");
        client.Password = QStringLiteral("secret");
        client.ConnectTimeoutMs = 2000;
        client.IdleTimeoutMs = 2000;

        TCountingDevice out;
        QString message;
        const std::unique_ptr<QThread> thread = StartRetrieve(client, out, message);
        // Generous: the time-outs above are a few seconds.
        const bool ended = thread->wait(60000);
        if (!ended) {
            client.Abort();
            thread->wait();
        }
        QVERIFY2(ended, "the transfer did not end after its time-out");
        QVERIFY2(!message.isEmpty(), "the transfer passed for a success");
        QVERIFY(out.Written < FLarge.size());
        QVERIFY2(ContainsAnyOf(message, expected), qPrintable(message));
    }

    // Stop does not wait for the time-outs: a transfer waiting for a reply
    // that would take ten minutes to time out ends on Abort.
    void abortEndsTheWaitForASilentServer()
    {
        TMisbehavingFtpServer server(QStringLiteral("after-login"));
        QVERIFY2(server.Error().isEmpty(), qPrintable(server.Error()));
        TFtpClient client;
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = server.Port();
        client.ConnectTimeoutMs = 600000;
        client.IdleTimeoutMs = 600000;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString message;
        const std::unique_ptr<QThread> thread = StartRetrieve(client, out, message);
        QVERIFY(server.WaitForLine("logged in", 30000));
        client.Abort();
        QVERIFY(thread->wait(60000));
        QVERIFY2(message.endsWith(QStringLiteral("transfer aborted")), qPrintable(message));
    }

    // A line break in a path or login would send a command of its own on the
    // control connection; such a text is refused before anything is sent.
    void controlCharactersAreRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("path, CR LF and a command")
            << QStringLiteral("path") << QStringLiteral("large.bin\r\nDELE empty.bin")
            << QStringLiteral("the remote path holds a line break");
        QTest::newRow("path, LF alone") << QStringLiteral("path") << QStringLiteral("a\nb.bin")
                                        << QStringLiteral("the remote path holds a line break");
        QTest::newRow("path, CR alone") << QStringLiteral("path") << QStringLiteral("a\rb.bin")
                                        << QStringLiteral("the remote path holds a line break");
        QTest::newRow("path, NUL")
            << QStringLiteral("path") << (QStringLiteral("a") + QChar(0) + QStringLiteral("b.bin"))
            << QStringLiteral("the remote path holds a line break");
        QTest::newRow("user name") << QStringLiteral("user") << QStringLiteral("user\r\nSITE x")
                                   << QStringLiteral("the user name holds a line break");
        QTest::newRow("password") << QStringLiteral("password")
                                  << QStringLiteral("secret\r\nDELE empty.bin")
                                  << QStringLiteral("the password holds a line break");
    }

    void controlCharactersAreRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, expected);

        // No server at all: the refusal comes before any connection.
        TRefusingPort refusing;
        TFtpClient client;
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = refusing.Port();
        client.UserName = field == QLatin1String("user") ? text : QStringLiteral("user");
        client.Password = field == QLatin1String("password") ? text : QStringLiteral("secret");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString message;
        try {
            client.Retrieve(field == QLatin1String("path") ? text : QStringLiteral("large.bin"),
                            out);
        } catch (const EFtpError& error) {
            message = error.Message();
        }
        QVERIFY2(message.contains(expected), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("secret")), qPrintable(message));
    }

    void abortFromAnotherThreadEndsTransfer()
    {
        TFtpTestServer::TOptions options{FRoot.path()};
        options.Rate = 256 * 1024;
        TFtpTestServer server(options);
        QVERIFY2(server.Error().isEmpty(), qPrintable(server.Error()));
        TFtpClient client;
        Login(client, server);

        TCountingDevice out;
        QString message;
        const std::unique_ptr<QThread> thread = StartRetrieve(client, out, message);
        QTRY_VERIFY_WITH_TIMEOUT(out.Written > 0, 30000);
        client.Abort();
        QVERIFY(thread->wait(10000));
        QVERIFY2(message.endsWith(QStringLiteral("transfer aborted")), qPrintable(message));
        QVERIFY(out.Written < FLarge.size());

        // Until reset the client refuses work; afterwards it works again.
        QBuffer again;
        again.open(QIODevice::WriteOnly);
        QVERIFY_THROWS_EXCEPTION(EFtpError, client.Retrieve(QStringLiteral("empty.bin"), again));
        client.ResetAbort();
        client.Retrieve(QStringLiteral("public_html/a b/c/update.txt"), again);
        QCOMPARE(again.data(), QByteArray("FILE-UPDATE x\r\n"));
    }
};

QTEST_GUILESS_MAIN(TFtpClientTest)
#include "tst_ftpclient.moc"
