#include "uFileTypeCache.h"

namespace {

// Keys that cannot clash with an extension (no extension holds a "/").
const QString FolderKey = QStringLiteral("/dir");
const QString NoExtensionKey = QStringLiteral("/none");

} // namespace

const TFileTypeCache::TFileType& TFileTypeCache::ForFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString key = dot < 0 ? NoExtensionKey : fileName.mid(dot + 1).toLower();
    const auto known = FTypes.constFind(key);
    if (known != FTypes.cend())
        return *known;
    const QMimeType type =
        dot < 0
            ? FDatabase.mimeTypeForName(QStringLiteral("application/octet-stream"))
            : FDatabase.mimeTypeForFile(QStringLiteral("x.") + key, QMimeDatabase::MatchExtension);
    return Remember(key, type);
}

const TFileTypeCache::TFileType& TFileTypeCache::ForFolder()
{
    const auto known = FTypes.constFind(FolderKey);
    if (known != FTypes.cend())
        return *known;
    return Remember(FolderKey, FDatabase.mimeTypeForName(QStringLiteral("inode/directory")));
}

const TFileTypeCache::TFileType& TFileTypeCache::Remember(const QString& key, const QMimeType& type)
{
    return *FTypes.insert(key, {type.name(), type.comment()});
}
