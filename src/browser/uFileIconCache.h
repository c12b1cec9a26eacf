#pragma once

#include "uExplorerEntry.h"

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QString>

// Icons of the list, one per type: the first entry of a type asks the icon
// provider, every later one reuses that icon. An entry without a type (a
// listed file that does not exist) shows the generic file icon.
class TFileIconCache
{
public:
    TFileIconCache();

    QIcon Icon(const TListEntry& entry);
    const QIcon& MissingFileIcon() const { return FMissingFileIcon; }

private:
    QFileIconProvider FProvider;
    QHash<QString, QIcon> FIcons;
    QIcon FMissingFileIcon;
};
