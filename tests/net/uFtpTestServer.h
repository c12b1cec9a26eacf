#pragma once

#include <QProcess>
#include <QString>

// The pyftpdlib server of tests/servers, started on 127.0.0.1 for one test
// and stopped with it.
class TFtpTestServer
{
public:
    struct TOptions
    {
        QString Root;
        QString User = QStringLiteral("user");
        QString Password = QStringLiteral("secret");
        qint64 Rate = 0;       // bytes per second, 0: unthrottled
        qint64 DropAfter = -1; // cut the data connection after so many bytes
        int DropReply = 426;   // the reply after the cut: 426 or 226
    };

    explicit TFtpTestServer(const TOptions& options);
    ~TFtpTestServer();

    // Empty when the server listens; otherwise what went wrong.
    const QString& Error() const { return FError; }
    int Port() const { return FPort; }
    const TOptions& Options() const { return FOptions; }

private:
    TOptions FOptions;
    QProcess FProcess;
    QString FError;
    int FPort = 0;
};

// A port on 127.0.0.1 that is bound but not listening, so that a connection
// to it is refused for as long as this object lives.
class TRefusingPort
{
public:
    TRefusingPort();
    ~TRefusingPort();
    int Port() const { return FPort; }

private:
    int FSocket = -1;
    int FPort = 0;
};
