#pragma once

#include "uExplorerEntry.h"

#include <QFile>
#include <QStringList>
#include <QTest>

// Small fixtures the file list's tests share.

inline void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(content), content.size());
}

inline void WriteFile(const QString& path, qint64 size)
{
    WriteFile(path, QByteArray(size, 'x'));
}

inline QStringList Names(const QList<TListEntry>& entries)
{
    QStringList names;
    for (const TListEntry& entry : entries)
        names.append(entry.Name);
    return names;
}
