#include "uOpenForms.h"

#include <QFileInfo>

namespace {

bool IsFile(const TListEntry& entry)
{
    return entry.Kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList FilesToOpen(const QList<TListEntry>& selected)
{
    QStringList paths;
    for (const TListEntry& entry : selected) {
        if (!IsFile(entry))
            return {};
        paths.append(entry.Path);
    }
    return paths;
}

QString VerbForFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    const QString extension = name.mid(dot);
    if (extension.compare(QLatin1String(".xls"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("open");
    if (extension.compare(QLatin1String(".xlt"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("new");
    return {};
}
