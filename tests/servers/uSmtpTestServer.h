#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The mail server of tests/servers/smtp_server.py, started on 127.0.0.1 for
// the lifetime of the object. Received messages land in DropDir().
class TSmtpTestServer
{
public:
    // Options as smtp_server.py takes them ("--auth", "u:p", "--fault", ...);
    // "--tls" needs no value here: the certificate goes into a folder of ours.
    // Port 0 takes a free port.
    explicit TSmtpTestServer(const QStringList& options = {}, int port = 0);
    ~TSmtpTestServer();

    int Port() const { return FPort; }
    QString DropDir() const { return FDir.filePath(QStringLiteral("drop")); }

    // Waits for a line the server prints ("CONNECTED" in silent mode).
    bool WaitForLine(const QByteArray& line);
    // Without waiting, for a caller whose event loop runs: whether the
    // server has printed this line by now.
    bool Printed(const QByteArray& line);

    // Received messages, oldest first: NNNN.eml paths.
    QStringList Messages() const;
    // The envelope of a received message (mail_from, rcpt_tos, login).
    static QJsonObject Envelope(const QString& emlPath);
    // The message as Python's email package reads it (see parse_mail.py).
    static QJsonObject Parse(const QString& emlPath);

private:
    QTemporaryDir FDir;
    QProcess FProcess;
    int FPort = 0;
    QList<QByteArray> FPrinted;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
int UnusedPort();
