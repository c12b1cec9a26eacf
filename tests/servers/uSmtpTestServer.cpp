#include "uSmtpTestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const QString Python = QStringLiteral("/usr/bin/python3");

QString Script(const char* name)
{
    return QStringLiteral(KELMIRA_TEST_SERVERS "/") + QLatin1String(name);
}
} // namespace

TSmtpTestServer::TSmtpTestServer(const QStringList& options, int port)
{
    QDir(FDir.path()).mkpath(QStringLiteral("drop"));
    QStringList args{Script("smtp_server.py"), QStringLiteral("--drop"), DropDir(),
                     QStringLiteral("--port"), QString::number(port)};
    for (const QString& option : options) {
        args.append(option);
        if (option == QLatin1String("--tls")) {
            QDir(FDir.path()).mkpath(QStringLiteral("tls"));
            args.append(FDir.filePath(QStringLiteral("tls")));
        }
    }
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(Python, args);
    while (FProcess.waitForReadyRead(30000) || FProcess.canReadLine()) {
        if (!FProcess.canReadLine())
            continue;
        const QByteArray line = FProcess.readLine().trimmed();
        if (line.startsWith("PORT ")) {
            FPort = line.mid(5).toInt();
            return;
        }
    }
    throw std::runtime_error("the test mail server did not start");
}

TSmtpTestServer::~TSmtpTestServer()
{
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(10000)) {
        FProcess.kill();
        FProcess.waitForFinished();
    }
}

bool TSmtpTestServer::WaitForLine(const QByteArray& line)
{
    while (FProcess.canReadLine() || FProcess.waitForReadyRead(30000))
        if (FProcess.canReadLine() && FProcess.readLine().trimmed() == line)
            return true;
    return false;
}

bool TSmtpTestServer::Printed(const QByteArray& line)
{
    while (FProcess.canReadLine())
        FPrinted.append(FProcess.readLine().trimmed());
    return FPrinted.contains(line);
}

QStringList TSmtpTestServer::Messages() const
{
    QStringList paths;
    const QDir dir(DropDir());
    for (const QString& name : dir.entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

QJsonObject TSmtpTestServer::Envelope(const QString& emlPath)
{
    QFile file(emlPath.chopped(4) + QStringLiteral(".json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject TSmtpTestServer::Parse(const QString& emlPath)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(Python, {Script("parse_mail.py"), emlPath});
    process.waitForFinished(60000);
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

int UnusedPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    close(fd);
    // 0 when no free port could be had; the caller checks.
    return bound ? ntohs(address.sin_port) : 0;
}
