// TFtpClient fetching a 256 MiB file from the local test server against the
// curl tool fetching the same file, in the same run, both in active mode and
// both writing a file. Prints the throughput ratio (goal: at least 0.9).
#include "uBenchFigure.h"
#include "uBenchFiles.h"
#include "uFtpClient.h"
#include "uFtpTestServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qint64 FileSize = 256LL * 1024 * 1024;
constexpr int Rounds = 3;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    QTemporaryDir target;
    if (!MakeRandomFile(root.filePath(QStringLiteral("big.bin")), FileSize))
        return 1;
    TFtpTestServer server({root.path()});
    if (!server.Error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.Error()));
        return 1;
    }
    const QString out = target.filePath(QStringLiteral("out.bin"));

    double bestOurs = 1e9;
    double bestTool = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        QFile::remove(out);
        QElapsedTimer timer;
        timer.start();
        const int rc = QProcess::execute(
            QStringLiteral("curl"),
            {QStringLiteral("-sS"), QStringLiteral("-P"), QStringLiteral("-"), QStringLiteral("-u"),
             QStringLiteral("user:secret"), QStringLiteral("-o"), out,
             QStringLiteral("ftp://127.0.0.1:%1/big.bin").arg(server.Port())});
        bestTool = std::min(bestTool, timer.nsecsElapsed() / 1e9);
        if (rc != 0 || QFile(out).size() != FileSize)
            return 1;

        QFile::remove(out);
        timer.restart();
        TFtpClient client;
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = server.Port();
        client.UserName = QStringLiteral("user");
        client.Password = QStringLiteral("secret");
        QFile file(out);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        client.Retrieve(QStringLiteral("big.bin"), file);
        file.close();
        bestOurs = std::min(bestOurs, timer.nsecsElapsed() / 1e9);
        if (QFile(out).size() != FileSize)
            return 1;
    }
    const double mib = FileSize / 1048576.0;
    std::printf("TFtpClient %.0f MiB/s, curl %.0f MiB/s, ratio %.2f (goal >= 0.9)\n",
                mib / bestOurs, mib / bestTool, bestTool / bestOurs);
    PrintFigure("TFtpClient / curl, throughput", bestTool / bestOurs, ">= 0.9");
    return 0;
}
