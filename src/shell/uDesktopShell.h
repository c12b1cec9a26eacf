#pragma once

#include <QString>
#include <QStringList>

// The desktop facilities the program hands work to. One interface, one Linux
// implementation; tests put a recording fake in its place so that no
// spreadsheet application is started and no real trash is touched.
class IDesktopShell
{
public:
    virtual ~IDesktopShell() = default;

    // Performs a verb ("open", "new") on a file, or starts a program with
    // parameters. Returns at once; a result above 32 means started, 32 or less
    // failure (the shell's convention, which callers test).
    virtual int ShellExecute(const QString& verb, const QString& file, const QString& params,
                             const QString& directory, bool hidden) = 0;

    // Moves the paths to the desktop's trash, without questions; answers the
    // paths that could not be moved, in the order given.
    virtual QStringList MoveToTrash(const QStringList& paths) = 0;
};

// The shell in use: the Linux one unless a test has put another in place.
IDesktopShell& DesktopShell();
// Puts a shell in place (not owned); nullptr restores the Linux one.
void SetDesktopShell(IDesktopShell* shell);
