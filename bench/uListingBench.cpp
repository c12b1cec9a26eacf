// The file list's fill of a large folder against the least any listing must
// do: read the folder and stat() every entry.

#include "uBenchFigure.h"
#include "uExplorerFrame.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int Rounds = 15;

struct TPlainEntry
{
    std::string Name;
    off_t Size;
    time_t Modified;
    bool IsDir;
};

void CreateFolder(const QString& folder, int files)
{
    static const char* const extensions[] = {".xls", ".xlt", ".xlsx", ".txt", ".pdf", ".zip",
                                             ".png", ".doc", ".csv",  ".zbx", ""};
    static const char* const stems[] = {"AF forma",    "Suvestinė", "Kontrolė", "ataskaita",
                                        "Žiniaraštis", "planas",    "~$AF",     "čekis"};
    QRandomGenerator random(1257);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("%1 %2%3")
                                 .arg(QString::fromUtf8(stems[i % 8]))
                                 .arg(i)
                                 .arg(QLatin1String(extensions[random.bounded(11)]));
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
        file.write(QByteArray(random.bounded(4096), 'x'));
        // Two years of saves, as in a working folder.
        file.setFileTime(now.addSecs(-qint64(random.bounded(2 * 365 * 24 * 3600))),
                         QFileDevice::FileModificationTime);
    }
}

std::vector<TPlainEntry> PlainListing(const QByteArray& folder)
{
    std::vector<TPlainEntry> entries;
    DIR* dir = opendir(folder.constData());
    if (!dir)
        qFatal("cannot open the folder");
    while (const dirent* entry = readdir(dir)) {
        struct stat info;
        if (fstatat(dirfd(dir), entry->d_name, &info, 0) == 0)
            entries.push_back({entry->d_name, info.st_size, info.st_mtime, S_ISDIR(info.st_mode)});
    }
    closedir(dir);
    return entries;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    QTemporaryDir dir;
    CreateFolder(dir.path(), files);
    const QByteArray folder = QFile::encodeName(dir.path());

    TExplorerFrame frame;
    frame.resize(463, 497);
    frame.show();
    frame.SetRootDir(dir.path());
    std::printf("%d files, median of %d rounds\n", files, Rounds);
    static const char* const styles[] = {"large icons", "small icons", "list", "details"};
    for (int style = 0; style < 4; ++style) {
        frame.SetViewStyle(style);
        std::vector<double> plain, fill;
        size_t plainCount = 0;
        for (int round = 0; round < Rounds + 2; ++round) {
            QElapsedTimer timer;
            timer.start();
            plainCount = PlainListing(folder).size();
            const double plainMs = double(timer.nsecsElapsed()) / 1e6;

            timer.start();
            frame.SetSubDir(QString());
            // The views lay out and paint what the fill gave them.
            QApplication::processEvents();
            const double fillMs = double(timer.nsecsElapsed()) / 1e6;
            if (round >= 2) { // the first rounds warm the caches
                plain.push_back(plainMs);
                fill.push_back(fillMs);
            }
        }
        if (plainCount != size_t(frame.Entries().size()) + 2)
            qFatal("the frame listed %lld entries of %zu", qlonglong(frame.Entries().size()),
                   plainCount);
        std::printf("%-12s plain readdir+stat %7.2f ms   frame fill %7.2f ms   ratio %.2f\n",
                    styles[style], Median(plain), Median(fill), Median(fill) / Median(plain));
        const std::string what = std::string("frame fill / readdir+stat, ") + styles[style];
        PrintFigure(what.c_str(), Median(fill) / Median(plain), "<= 3");
    }
    return 0;
}
