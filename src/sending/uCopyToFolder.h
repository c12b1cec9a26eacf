#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What could not be copied, and why (for the user).
struct TCopyFailure
{
    QString Path;
    QString Reason;
};

struct TCopyResult
{
    // The new top-level entries in the target folder, in source order.
    QStringList Created;
    QList<TCopyFailure> Failures;
    bool Cancelled = false;
};

// Told the bytes copied so far and the bytes in all; answers false to stop.
using TCopyProgress = std::function<bool(qint64 done, qint64 total)>;

// "name (n).ext": the name a copy takes when `name` is taken already.
QString CollisionName(const QString& name, int n);

// Copies files and folders (with everything in them) into `folder`, creating
// it when missing. A name already taken there gets the next free
// "name (n).ext"; nothing present is ever replaced. A stopped copy leaves no
// half-written file behind; what was finished stays.
TCopyResult CopyToFolder(const QStringList& sources, const QString& folder,
                         const TCopyProgress& progress);
