#include "uBrowserPaths.h"

QString ParentSubDir(const QString& subDir)
{
    // The last delimiter before the final character, which may itself be one.
    const QString text = QLatin1Char('/') + subDir;
    const qsizetype delimiter =
        text.lastIndexOf(QLatin1Char('/'), qMax<qsizetype>(text.size() - 2, 0));
    return delimiter <= 0 ? QString() : text.mid(1, delimiter - 1) + QLatin1Char('/');
}

QString FolderWithDelimiter(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString SubDirOfEntry(const QString& path, const QString& rootDir)
{
    return path.mid(rootDir.size()) + QLatin1Char('/');
}
