#include "uFileIconCache.h"

#include <QFileInfo>

TFileIconCache::TFileIconCache() : FMissingFileIcon(FProvider.icon(QAbstractFileIconProvider::File))
{}

QIcon TFileIconCache::Icon(const TListEntry& entry)
{
    if (entry.IconKey.isEmpty())
        return FMissingFileIcon;
    auto known = FIcons.constFind(entry.IconKey);
    if (known == FIcons.cend()) {
        QIcon icon = FProvider.icon(QFileInfo(entry.Path));
        if (icon.isNull())
            icon = entry.Kind == QLatin1String("dir")
                       ? FProvider.icon(QAbstractFileIconProvider::Folder)
                       : FMissingFileIcon;
        known = FIcons.insert(entry.IconKey, icon);
    }
    return *known;
}
