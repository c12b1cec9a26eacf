#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// What the list needs of one folder entry, read straight from the file system.
struct TScanEntry
{
    QString Name;
    bool IsDir = false;
    qint64 Size = 0;
    qint64 Modified = 0; // milliseconds since the epoch, UTC
};

// Every entry of a folder but "." and "..", hidden ones too, in the order the
// file system gives them; a link counts as what it points to, a broken one as
// a file. Empty when the folder cannot be read.
QList<TScanEntry> ScanFolder(const QString& folder);

// The same for one path; false when nothing is there.
bool ScanPath(const QString& path, TScanEntry& entry);
