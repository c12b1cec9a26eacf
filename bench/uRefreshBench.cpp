// Time from creating a file in the shown folder to the refreshed list,
// against one reading of the same folder by the frame.
#include "uBenchFigure.h"
#include "uExplorerFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Changes = 50;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Touch(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    for (int i = 0; i < files; ++i)
        Touch(dir.filePath(QStringLiteral("AF%1.xls").arg(i, 5, 10, QLatin1Char('0'))));

    TExplorerFrame frame;
    frame.resize(600, 400);
    frame.show();
    frame.SetRootDir(dir.path());
    frame.SetSubDir(QString());

    std::vector<double> reads, refreshes;
    QElapsedTimer timer;
    QCoreApplication::processEvents();
    for (int i = 0; i < Changes; ++i) {
        timer.start();
        frame.SetSubDir(QString());
        // Both figures include laying out and painting the new list, which
        // the views do from the event loop.
        QCoreApplication::processEvents();
        reads.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    for (int i = 0; i < Changes; ++i) {
        QEventLoop loop;
        QObject::connect(&frame, &TExplorerFrame::Listed, &loop, &QEventLoop::quit);
        timer.start();
        Touch(dir.filePath(QStringLiteral("new%1.xls").arg(i)));
        loop.exec();
        QCoreApplication::processEvents();
        refreshes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const double read = Median(reads), refresh = Median(refreshes);
    std::printf("%d files, median of %d: one reading %.2f ms, create to refreshed list %.2f ms, "
                "ratio %.2f (goal at most 1.5)\n",
                files, Changes, read, refresh, refresh / read);
    PrintFigure("create to refreshed list / one reading", refresh / read, "<= 1.5");
    return 0;
}
