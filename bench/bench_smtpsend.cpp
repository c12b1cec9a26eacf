// Sends one message with a 200 MiB attachment to the local test mail server,
// once through the program's delivery thread and once through the curl tool
// (the same bytes, to the same server, in the same run), and prints the
// wall-time ratio, the CPU time each client spent, and the program's peak
// memory increase during its send. The Python test server limits both clients
// alike, so the CPU figures show the client's own cost.

#include "uBenchFigure.h"
#include "uMimeMessage.h"
#include "uSmtpTestServer.h"
#include "uSmtpThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr qint64 AttachmentSize = 200LL * 1024 * 1024;
constexpr int Rounds = 3;

// kB figure of a /proc/self/status line such as "VmHWM:".
qint64 StatusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').front().toLongLong();
    return -1;
}

// User plus system CPU milliseconds of this process or of its waited-for
// children.
qint64 CpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

// Makes VmHWM start again from the current resident size.
void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString attachment = dir.filePath(QStringLiteral("didelė ataskaita.xls"));
    {
        QFile file(attachment);
        file.open(QIODevice::WriteOnly);
        QByteArray block(1024 * 1024, Qt::Uninitialized);
        for (qint64 written = 0; written < AttachmentSize; written += block.size()) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                                  block.size() / 4);
            file.write(block);
        }
    }
    TSmtpTestServer server({QStringLiteral("--discard")});
    TSmtpServer settings;
    settings.Host = QStringLiteral("127.0.0.1");
    settings.Port = server.Port();

    TMimeMessage message;
    message.SetFrom(QStringLiteral("Ona <ona@ukis.lt>"));
    message.SetTo(QStringLiteral("af@centras.lt"));
    message.SetSubject(QStringLiteral("Didelė ataskaita"));
    message.AddAttachment(attachment);

    // The very same bytes for the curl tool.
    const QString eml = dir.filePath(QStringLiteral("message.eml"));
    {
        QFile file(eml);
        file.open(QIODevice::WriteOnly);
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        message.Rewind();
        for (qint64 n; (n = message.Read(buffer.data(), buffer.size())) > 0;)
            file.write(buffer.constData(), n);
    }

    QList<qint64> ours, tool, oursCpu, toolCpu;
    qint64 peakIncreaseKb = 0;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        QProcess curl;
        const qint64 childCpu = CpuMs(RUSAGE_CHILDREN);
        timer.start();
        curl.start(QStringLiteral("curl"),
                   {QStringLiteral("-sS"), QStringLiteral("smtp://127.0.0.1:%1").arg(server.Port()),
                    QStringLiteral("--mail-from"), QStringLiteral("<ona@ukis.lt>"),
                    QStringLiteral("--mail-rcpt"), QStringLiteral("<af@centras.lt>"),
                    QStringLiteral("-T"), eml});
        curl.waitForFinished(-1);
        tool.append(timer.elapsed());
        toolCpu.append(CpuMs(RUSAGE_CHILDREN) - childCpu);
        if (curl.exitCode() != 0) {
            std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
            return 1;
        }

        ResetPeak();
        const qint64 before = StatusKb("VmRSS:");
        const qint64 selfCpu = CpuMs(RUSAGE_SELF);
        timer.restart();
        TSMTPThread thread(settings, message);
        thread.start();
        thread.wait();
        ours.append(timer.elapsed());
        oursCpu.append(CpuMs(RUSAGE_SELF) - selfCpu);
        peakIncreaseKb = std::max(peakIncreaseKb, StatusKb("VmHWM:") - before);
        if (!thread.ErrorText().isEmpty()) {
            std::fprintf(stderr, "send failed: %s\n", qPrintable(thread.ErrorText()));
            return 1;
        }
    }
    for (QList<qint64>* list : {&ours, &tool, &oursCpu, &toolCpu})
        std::sort(list->begin(), list->end());
    const qint64 oursMedian = ours[Rounds / 2], toolMedian = tool[Rounds / 2];
    std::printf("message %lld bytes (attachment %lld), %d rounds each\n",
                static_cast<long long>(message.Size()), static_cast<long long>(AttachmentSize),
                Rounds);
    std::printf("program median %lld ms, curl tool median %lld ms, ratio %.3f (goal <= 1.2)\n",
                static_cast<long long>(oursMedian), static_cast<long long>(toolMedian),
                double(oursMedian) / double(toolMedian));
    std::printf("client CPU median: program %lld ms, curl tool %lld ms, ratio %.3f\n",
                static_cast<long long>(oursCpu[Rounds / 2]),
                static_cast<long long>(toolCpu[Rounds / 2]),
                double(oursCpu[Rounds / 2]) / double(qMax<qint64>(1, toolCpu[Rounds / 2])));
    std::printf("peak memory increase during the send %.1f MiB (goal < 64 MiB)\n",
                double(peakIncreaseKb) / 1024.0);
    PrintFigure("delivery thread / curl, wall time", double(oursMedian) / double(toolMedian),
                "<= 1.2");
    PrintFigure("peak memory increase in MiB", double(peakIncreaseKb) / 1024.0, "< 64");
    return 0;
}
