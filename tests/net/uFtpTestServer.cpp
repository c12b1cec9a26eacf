#include "uFtpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TFtpTestServer::TFtpTestServer(const TOptions& options) : FOptions(options)
{
    QStringList args{QStringLiteral(KELMIRA_TEST_SERVERS "/ftp_server.py"),
                     QStringLiteral("--root"),
                     options.Root,
                     QStringLiteral("--user"),
                     options.User,
                     QStringLiteral("--password"),
                     options.Password};
    if (options.Rate > 0)
        args << QStringLiteral("--rate") << QString::number(options.Rate);
    if (options.DropAfter >= 0)
        args << QStringLiteral("--drop-after") << QString::number(options.DropAfter)
             << QStringLiteral("--drop-reply") << QString::number(options.DropReply);
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(QStringLiteral("/usr/bin/python3"), args);
    if (!FProcess.waitForStarted()) {
        FError = FProcess.errorString();
        return;
    }
    while (!FProcess.canReadLine()) {
        if (!FProcess.waitForReadyRead(30000)) {
            FError = QStringLiteral("the FTP server printed no port");
            return;
        }
    }
    FPort = FProcess.readLine().trimmed().toInt();
    if (FPort <= 0)
        FError = QStringLiteral("the FTP server printed no port");
}

TFtpTestServer::~TFtpTestServer()
{
    FProcess.closeWriteChannel(); // the server ends with its standard input
    if (!FProcess.waitForFinished(10000)) {
        FProcess.kill();
        FProcess.waitForFinished();
    }
}

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
