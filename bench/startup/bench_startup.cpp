// Start-up to the main window shown and closed, against a minimal Qt Widgets
// program shown and closed, each a fresh process, in the same run.
//   bench_startup [runs]        prints both medians and their ratio
#include "uBenchFigure.h"
#include "uMainForm.h"
#include "uStartup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

int RunMinimal(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(669, 540);
    window.show();
    QTimer::singleShot(0, &window, &QWidget::close);
    return QApplication::exec();
}

double MedianMs(const QStringList& args, int runs)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(QCoreApplication::applicationFilePath(), args);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            std::fprintf(stderr, "run failed: %s\n", qPrintable(process.readAllStandardError()));
            return -1;
        }
        times.append(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("--minimal"))
        return RunMinimal(argc, argv);
    if (mode == QLatin1String("--kelmira")) {
        argv[1] = argv[0];
        return RunKelmira(argc - 1, argv + 1, [](TMainForm& form) { form.close(); });
    }

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 21;
    QTemporaryDir workspace;
    const QString config = workspace.path() + QStringLiteral("/kelmira.ini");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const double minimal = MedianMs({QStringLiteral("--minimal")}, runs);
    const double kelmira =
        MedianMs({QStringLiteral("--kelmira"), QStringLiteral("-i"), config}, runs);
    std::printf("startup: kelmira %.1f ms, minimal Qt Widgets %.1f ms, ratio %.2f (goal <= 1.5)\n",
                kelmira, minimal, kelmira / minimal);
    PrintFigure("start-up / minimal Qt Widgets program", kelmira / minimal, "<= 1.5");
    return 0;
}
