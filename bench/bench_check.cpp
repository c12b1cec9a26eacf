// A whole update check that downloads 20 files of 1 MiB from the local test
// server, against the curl tool fetching the same 20 files in the same run,
// one process and one connection per file. Prints the ratio of the wall
// times (goal: at most 1.2).
#include "uBenchFigure.h"
#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uFtpTestServer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Files = 20;
constexpr qsizetype FileSize = 1 << 20;
constexpr int Rounds = 3;

bool WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// One check to its end; false when it did not save the 20 tasks.
bool RunCheck(const QString& root, int port)
{
    QFile::remove(root + QStringLiteral("/k_AI.ini"));
    QDir(root + QStringLiteral("/tmp")).removeRecursively();
    QDir().mkpath(root + QStringLiteral("/tmp"));
    auto store = std::make_shared<TDownloadTaskStore>(root + QStringLiteral("/k_AI.ini"),
                                                      root + QStringLiteral("/k_MI.ini"));
    store->WriteString(UpdatesSection, QStringLiteral("Serveriai"),
                       QStringLiteral("user:secret@127.0.0.1:%1").arg(port));
    store->WriteString(UpdatesSection, QStringLiteral("Versija"), QStringLiteral("1.0"));
    TDownloadUpdatesDataModule engine(root + QStringLiteral("/k.log"));
    engine.SetStore(store);
    engine.SetProcess(root + QStringLiteral("/kelmira"), {});
    engine.Start();
    while (engine.IsDownloading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return engine.Status() == TUpdateCheckStatus::UpdatesPending &&
           engine.Tasks().size() == size_t(Files);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString ftp = root.filePath(QStringLiteral("ftp"));
    qputenv("TMPDIR", QFile::encodeName(root.filePath(QStringLiteral("tmp"))));
    QString instructions;
    for (int i = 0; i < Files; ++i) {
        QByteArray content(FileSize, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(content.data()),
                                              content.size() / 4);
        const QString name = QStringLiteral("files/f%1.bin").arg(i);
        if (!WriteFile(ftp + u'/' + name, content))
            return 1;
        // The targets do not exist yet, so the tasks are saved, not installed:
        // the check is its downloads.
        instructions +=
            QStringLiteral("FILE-UPDATE %1 %2 %3/target/f%4.bin\r\n")
                .arg(name,
                     QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Md5)
                                             .toHex()
                                             .toUpper()),
                     root.path())
                .arg(i);
    }
    if (!WriteFile(ftp + QStringLiteral("/public_html/kelmira/1.0/47150926/update.txt"),
                   instructions.toUtf8()))
        return 1;
    TFtpTestServer server({ftp});
    if (!server.Error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.Error()));
        return 1;
    }
    const QString out = root.filePath(QStringLiteral("curl"));
    QDir().mkpath(out);

    double bestCheck = 1e9;
    double bestTool = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Files; ++i) {
            const int rc = QProcess::execute(
                QStringLiteral("curl"),
                {QStringLiteral("-sS"), QStringLiteral("-P"), QStringLiteral("-"),
                 QStringLiteral("-u"), QStringLiteral("user:secret"), QStringLiteral("-o"),
                 out + QStringLiteral("/f%1.bin").arg(i),
                 QStringLiteral("ftp://127.0.0.1:%1/files/f%2.bin").arg(server.Port()).arg(i)});
            if (rc != 0)
                return 1;
        }
        bestTool = std::min(bestTool, timer.nsecsElapsed() / 1e9);

        timer.restart();
        if (!RunCheck(root.path(), server.Port()))
            return 1;
        bestCheck = std::min(bestCheck, timer.nsecsElapsed() / 1e9);
    }
    std::printf("check %.3f s, curl %.3f s for %d files of 1 MiB: ratio %.2f (goal <= 1.2)\n",
                bestCheck, bestTool, Files, bestCheck / bestTool);
    PrintFigure("update check / curl, wall time", bestCheck / bestTool, "<= 1.2");
    return 0;
}
