#pragma once

#include "uExplorerEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

// The files an open of the selection concerns, in list order: the one
// selected file, or every selected file when several are selected; nothing
// when the selection holds a folder.
QStringList FilesToOpen(const QList<TListEntry>& selected);

// "open" for a workbook (.xls), "new" for a template (.xlt), empty for any
// other file; letter case does not matter.
QString VerbForFile(const QString& path);
