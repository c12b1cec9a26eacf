#include "uLinuxDesktopShell.h"

#include "uShared.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>

namespace {

constexpr int Started = 42;
constexpr int FileNotFound = 2;
constexpr int NoAssociation = 31;

bool IsProgram(const QFileInfo& info)
{
    if (!info.isFile() || !info.isExecutable())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    for (const char* program : {"application/x-executable", "application/x-sharedlib",
                                "application/x-pie-executable", "application/x-shellscript"})
        if (type.inherits(QLatin1String(program)))
            return true;
    return false;
}

QStringList CommandWords(const QString& params)
{
    QStringList words;
    qsizetype pos = 0;
    for (QString word = ReadCommandWord(params, pos); !word.isEmpty();
         word = ReadCommandWord(params, pos))
        words.append(word);
    return words;
}

} // namespace

int TLinuxDesktopShell::ShellExecute(const QString& verb, const QString& file,
                                     const QString& params, const QString& directory, bool hidden)
{
    Q_UNUSED(hidden)
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0 &&
        verb.compare(QLatin1String("new"), Qt::CaseInsensitive) != 0)
        return NoAssociation;
    const QFileInfo info(file);
    if (!info.exists())
        return FileNotFound;
    const bool started =
        IsProgram(info)
            ? QProcess::startDetached(info.absoluteFilePath(), CommandWords(params), directory)
            : QProcess::startDetached(QStringLiteral("xdg-open"), {info.absoluteFilePath()},
                                      directory);
    return started ? Started : NoAssociation;
}

QStringList TLinuxDesktopShell::MoveToTrash(const QStringList& paths)
{
    QStringList failed;
    for (const QString& path : paths)
        if (!QFile::moveToTrash(path))
            failed.append(path);
    return failed;
}
