#include "uFtpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TServerProcess::TServerProcess(const QString& script, const QStringList& args)
{
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral(KELMIRA_TEST_SERVERS "/") + script} + args);
    if (!FProcess.waitForStarted()) {
        FError = FProcess.errorString();
        return;
    }
    while (!FProcess.canReadLine()) {
        if (!FProcess.waitForReadyRead(30000)) {
            FError = script + QStringLiteral(" printed no port");
            return;
        }
    }
    FPort = FProcess.readLine().trimmed().toInt();
    if (FPort <= 0)
        FError = script + QStringLiteral(" printed no port");
}

bool TServerProcess::WaitForLine(const QByteArray& line, int timeoutMs)
{
    for (;;) {
        while (FProcess.canReadLine()) {
            if (FProcess.readLine().trimmed() == line)
                return true;
        }
        if (!FProcess.waitForReadyRead(timeoutMs))
            return false;
    }
}

TServerProcess::~TServerProcess()
{
    FProcess.closeWriteChannel(); // the server ends with its standard input
    if (!FProcess.waitForFinished(10000)) {
        FProcess.kill();
        FProcess.waitForFinished();
    }
}

TFtpTestServer::TFtpTestServer(const TOptions& options)
    : TServerProcess(QStringLiteral("ftp_server.py"), Arguments(options)), FOptions(options)
{}

QStringList TFtpTestServer::Arguments(const TOptions& options)
{
    QStringList args{QStringLiteral("--root"),     options.Root,
                     QStringLiteral("--user"),     options.User,
                     QStringLiteral("--password"), options.Password};
    if (options.Rate > 0)
        args << QStringLiteral("--rate") << QString::number(options.Rate);
    if (options.DropAfter >= 0)
        args << QStringLiteral("--drop-after") << QString::number(options.DropAfter)
             << QStringLiteral("--drop-reply") << QString::number(options.DropReply);
    if (options.StallAfter >= 0)
        args << QStringLiteral("--stall-after") << QString::number(options.StallAfter);
    return args;
}

TMisbehavingFtpServer::TMisbehavingFtpServer(const QString& mode)
    : TServerProcess(QStringLiteral("raw_ftp_server.py"), {mode})
{}

TRefusingPort::TRefusingPort()
{
    FSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (FSocket >= 0 && ::bind(FSocket, generic, length) == 0 &&
        ::getsockname(FSocket, generic, &length) == 0)
        FPort = ntohs(address.sin_port);
}

TRefusingPort::~TRefusingPort()
{
    if (FSocket >= 0)
        ::close(FSocket);
}
