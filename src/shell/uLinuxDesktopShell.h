#pragma once

#include "uDesktopShell.h"

// The desktop of a Linux session: programs are started directly, documents
// go to the desktop's opener (xdg-open), deleted files to the freedesktop
// trash.
class TLinuxDesktopShell : public IDesktopShell
{
public:
    // A program is started with params split into words by the command-word
    // rules, in directory; no shell ever sees them. A document is handed to
    // xdg-open, which starts the application associated with its type; "new"
    // on a template makes the office suite create a new document from it.
    // hidden is not needed: programs started here open no window of their own
    // unless they mean to. Answers 42 when started, 2 when the file does not
    // exist, 31 when the verb is unknown or nothing could be started.
    int ShellExecute(const QString& verb, const QString& file, const QString& params,
                     const QString& directory, bool hidden) override;
    QStringList MoveToTrash(const QStringList& paths) override;
};
