// CheckMd5's digest over a 256 MiB file against md5sum of the same file, in
// the same run. Prints the throughput ratio (goal: at least 0.9).
#include "uBenchFigure.h"
#include "uBenchFiles.h"
#include "uCheckMd5.h"

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
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.bin"));
    if (!MakeRandomFile(path, FileSize)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    double bestOurs = 1e9;
    double bestTool = 1e9;
    QString tool;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QProcess md5sum;
        md5sum.start(QStringLiteral("md5sum"), {path});
        md5sum.waitForFinished(-1);
        bestTool = std::min(bestTool, timer.nsecsElapsed() / 1e9);
        tool = QString::fromLatin1(md5sum.readAllStandardOutput().left(32)).toUpper();

        timer.restart();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        CheckMd5(file, tool, path); // raises when the digests differ
        bestOurs = std::min(bestOurs, timer.nsecsElapsed() / 1e9);
    }
    const double mib = FileSize / 1048576.0;
    std::printf("CheckMd5 %.0f MiB/s, md5sum %.0f MiB/s, ratio %.2f (goal >= 0.9)\n",
                mib / bestOurs, mib / bestTool, bestTool / bestOurs);
    PrintFigure("CheckMd5 / md5sum, throughput", bestTool / bestOurs, ">= 0.9");
    return 0;
}
