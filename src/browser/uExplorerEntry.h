#pragma once

#include <QString>
#include <QtGlobal>

// One entry of the file list.
struct TListEntry
{
    QString Name;     // display name, or the name part of a name=path line
    QString SizeText; // "%d KB" for a file, empty for a folder
    QString TypeText; // type name from the MIME database
    QString DateText; // local short date and time without seconds
    QString Kind;     // "dir" or "file"
    QString Path;     // full path, no trailing "/"
    qint64 Size = 0;  // bytes, 0 for folders and missing files
    QString IconKey;  // key of the entry's icon in the frame's icon cache
};
