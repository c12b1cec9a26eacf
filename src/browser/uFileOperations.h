#pragma once

#include "uExplorerEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

// The decisions of the list's rename and delete, apart from the widgets.

// The extension of a path's name with its dot ("a.b.xls" gives ".xls"),
// empty when the name has none.
QString FileExtension(const QString& path);

// Whether the name of the file at the path may be edited in place: only
// workbooks (".xls" in any case) and only while the list is not locked.
bool CanRenamePath(const QString& path, bool locked);

// The path a file gets when its name is edited: the edited name in the same
// folder, with the old extension appended unless the edited name already ends
// with it (case ignored). Empty when the edited name cannot be a file name.
QString RenamedPath(const QString& oldPath, const QString& editedName);

// Renames a file without ever replacing an existing one; false when the
// target exists or the file system refuses.
bool RenameNoReplace(const QString& from, const QString& to);

// Visibility and enabling of the context menu's entry items for a selection.
struct TMenuState
{
    bool EntryItemsVisible = false; // open, rename, delete
    bool OpenEnabled = false;
    bool ChangeEnabled = false; // rename and delete
};
TMenuState ExplorerMenuState(bool locked, const QList<TListEntry>& selected);

// The confirmation asked before the selected entries go to the trash.
QString DeleteQuestion(const QList<TListEntry>& selected);

// The one message listing the paths the trash did not take.
QString TrashFailureText(const QStringList& failed);
