#pragma once

#include <QHash>
#include <QMimeDatabase>
#include <QString>

// Type names of the list from the MIME database, looked up once per file
// name extension (as the desktop names types by extension) and kept, so that a
// large folder does not ask the database once per file.
class TFileTypeCache
{
public:
    struct TFileType
    {
        QString MimeName; // also the key of the type's icon
        QString Comment;  // the type name shown in the list
    };

    const TFileType& ForFile(const QString& fileName);
    const TFileType& ForFolder();

private:
    const TFileType& Remember(const QString& key, const QMimeType& type);

    QMimeDatabase FDatabase;
    QHash<QString, TFileType> FTypes;
};
