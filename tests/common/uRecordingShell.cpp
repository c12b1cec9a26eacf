#include "uRecordingShell.h"

TRecordingShell::TRecordingShell()
{
    SetDesktopShell(this);
}

TRecordingShell::~TRecordingShell()
{
    SetDesktopShell(nullptr);
}

int TRecordingShell::ShellExecute(const QString& verb, const QString& file, const QString& params,
                                  const QString& directory, bool hidden)
{
    Calls.append({verb, file, params, directory, hidden});
    return Result;
}

QStringList TRecordingShell::MoveToTrash(const QStringList& paths)
{
    Trashed.append(paths);
    QStringList failed;
    for (const QString& path : paths)
        if (TrashFailures.contains(path))
            failed.append(path);
    return failed;
}
