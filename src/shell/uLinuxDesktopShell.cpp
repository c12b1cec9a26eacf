#include "uLinuxDesktopShell.h"

#include "uShared.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int Started = 42;
constexpr int FileNotFound = 2;
constexpr int NoAssociation = 31;

bool IsProgramType(const QMimeType& type)
{
    for (const char* program : {"application/x-executable", "application/x-sharedlib",
                                "application/x-pie-executable", "application/x-shellscript"})
        if (type.inherits(QLatin1String(program)))
            return true;
    return false;
}

// A program has the executable bit and is one by its content. Shares mounted
// from Windows mark every file executable, so a name that says "document"
// (a workbook, say) always goes to the opener, whatever the file holds; a
// program may have no extension or a Windows one (the installing copy).
bool IsProgram(const QFileInfo& info)
{
    if (!info.isFile() || !info.isExecutable())
        return false;
    const QMimeDatabase mime;
    const QMimeType byName = mime.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    const bool nameAllows = byName.isDefault() || IsProgramType(byName) ||
                            byName.inherits(QStringLiteral("application/x-ms-dos-executable"));
    return nameAllows && IsProgramType(mime.mimeTypeForFile(info, QMimeDatabase::MatchContent));
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

// Qt finds no trash when the user's data folder does not exist yet, as on a
// fresh account; the folder is the one the home trash belongs in.
void PrepareHomeTrash()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        QDir().mkpath(data);
}

bool MoveOneToTrash(const QString& path)
{
    QString inTrash;
    if (!QFile::moveToTrash(path, &inTrash))
        return false;
    if (QFileInfo(inTrash).isAbsolute())
        return true;
    // When Qt cannot set up a trash it still moves the file, into "files"
    // under the current directory, and answers success. Put it back and call
    // it a failure, so the user is told and the file stays where it was.
    const QFileInfo moved(QDir::current().absoluteFilePath(inTrash));
    QFile::rename(moved.absoluteFilePath(), path);
    const QDir trash(moved.absolutePath() + QStringLiteral("/.."));
    QFile::remove(
        trash.filePath(QStringLiteral("info/") + moved.fileName() + QStringLiteral(".trashinfo")));
    trash.rmdir(QStringLiteral("info"));
    trash.rmdir(QStringLiteral("files"));
    return false;
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
    QProcess process;
    if (IsProgram(info)) {
        process.setProgram(info.absoluteFilePath());
        process.setArguments(CommandWords(params));
    } else {
        process.setProgram(QStringLiteral("xdg-open"));
        process.setArguments({info.absoluteFilePath()});
    }
    process.setWorkingDirectory(directory);
    // A started program outlives us; it must not write into our output,
    // which may be a pipe that closes when we end (and kill it by SIGPIPE).
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached() ? Started : NoAssociation;
}

QStringList TLinuxDesktopShell::MoveToTrash(const QStringList& paths)
{
    PrepareHomeTrash();
    QStringList failed;
    for (const QString& path : paths)
        if (!MoveOneToTrash(path))
            failed.append(path);
    return failed;
}
