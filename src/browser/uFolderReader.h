#pragma once

#include "uExplorerEntry.h"
#include "uFileTypeCache.h"

#include <QList>
#include <QString>
#include <QStringList>

class TDateTextFormat;
struct TScanEntry;
class TMaskFilter;

// Entries of one listing and the bytes of their files.
struct TListing
{
    QList<TListEntry> Entries;
    qint64 Total = 0;
};

// Turns a folder, or an explicit list of files, into list entries. Keeps the
// type names it has looked up from one listing to the next.
class TFolderReader
{
public:
    // Every entry of the folder (a full path), hidden ones
    // too, "." and ".." left out; files only when their name passes the
    // filter, folders always. Sorted, folders first.
    TListing ReadFolder(const QString& path, const TMaskFilter& filter);

    // One entry per line, in the order of the lines: a path, or with pairs a
    // "name=path" line (a name given twice takes the path of its first line).
    // A path that does not exist still gives an entry named by its file-name
    // part; "." and ".." folders are left out.
    TListing ReadFileList(const QStringList& lines, bool pairs);

private:
    TListEntry MakeEntry(const TScanEntry& scan, const QString& name, const QString& path,
                         TDateTextFormat& dates);

    TFileTypeCache FTypes;
};
