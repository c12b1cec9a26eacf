#include "uChildProcesses.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

bool BecomeSubreaper()
{
    return ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
}

QStringList CommandLineOf(pid_t pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList args;
    for (const QByteArray& arg : file.readAll().split('\0'))
        args.append(QFile::decodeName(arg));
    if (!args.isEmpty() && args.last().isEmpty())
        args.removeLast();
    return args;
}

pid_t FindProgram(const QString& exe, const QString& firstParam)
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool ok = false;
        const pid_t pid = entry.toInt(&ok);
        if (!ok)
            continue;
        const QStringList args = CommandLineOf(pid);
        if (args.size() > 1 && args.at(0) == exe && args.at(1) == firstParam && IsRunning(pid))
            return pid;
    }
    return 0;
}

bool CatchesSigterm(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1U;
    return false;
}

bool IsRunning(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

void ReapEnded()
{
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}
