#pragma once

#include "uDesktopShell.h"

#include <QList>

// Records what the program asks of the desktop instead of doing it; puts
// itself in place for its lifetime.
class TRecordingShell : public IDesktopShell
{
public:
    struct TCall
    {
        QString Verb, File, Params, Directory;
        bool Hidden = false;
    };

    TRecordingShell();
    ~TRecordingShell() override;

    int ShellExecute(const QString& verb, const QString& file, const QString& params,
                     const QString& directory, bool hidden) override;
    QStringList MoveToTrash(const QStringList& paths) override;

    QList<TCall> Calls;
    QList<QStringList> Trashed;
    int Result = 42;           // what ShellExecute answers
    QStringList TrashFailures; // paths MoveToTrash reports as not moved
};
