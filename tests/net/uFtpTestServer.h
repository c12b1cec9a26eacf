#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A python server script of tests/servers, started on 127.0.0.1 for one test
// and stopped with it.
class TServerProcess
{
public:
    TServerProcess(const QString& script, const QStringList& args);
    // Tests hold a server of either kind through this class.
    virtual ~TServerProcess();
    TServerProcess(const TServerProcess&) = delete;
    TServerProcess& operator=(const TServerProcess&) = delete;

    // Empty when the server listens; otherwise what went wrong.
    const QString& Error() const { return FError; }
    int Port() const { return FPort; }
    // Waits for a line the server prints after its port; false when it does
    // not come in time.
    bool WaitForLine(const QByteArray& line, int timeoutMs);

private:
    QProcess FProcess;
    QString FError;
    int FPort = 0;
};

// The pyftpdlib server of tests/servers.
class TFtpTestServer : public TServerProcess
{
public:
    struct TOptions
    {
        QString Root;
        QString User = QStringLiteral("user");
        QString Password = QStringLiteral("secret");
        qint64 Rate = 0;        // bytes per second, 0: unthrottled
        qint64 DropAfter = -1;  // cut the data connection after so many bytes
        int DropReply = 426;    // the reply after the cut: 426 or 226
        qint64 StallAfter = -1; // go silent after so many bytes of a file
    };

    explicit TFtpTestServer(const TOptions& options);

    const TOptions& Options() const { return FOptions; }

private:
    static QStringList Arguments(const TOptions& options);

    TOptions FOptions;
};

// A control connection that misbehaves in one way from the start
// (raw_ftp_server.py): "silent", "cut-reply", "long-line", "garbage",
// "after-login".
class TMisbehavingFtpServer : public TServerProcess
{
public:
    explicit TMisbehavingFtpServer(const QString& mode);
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
