#include "uFolderReader.h"

#include "uBrowserPaths.h"
#include "uDateText.h"
#include "uEntryOrder.h"
#include "uMaskFilter.h"
#include "uSizeText.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

namespace {

const QString DirKind = QStringLiteral("dir");
const QString FileKind = QStringLiteral("file");

bool IsDotFolder(const QString& name)
{
    return name == QLatin1String(".") || name == QLatin1String("..");
}

} // namespace

TListEntry TFolderReader::MakeEntry(const QFileInfo& info, const QString& name, const QString& path,
                                    TDateTextFormat& dates)
{
    const bool isDir = info.isDir();
    const TFileTypeCache::TFileType& type =
        isDir ? FTypes.ForFolder() : FTypes.ForFile(info.fileName());
    TListEntry entry;
    entry.Name = name;
    entry.Size = isDir ? 0 : info.size();
    entry.SizeText = isDir ? QString() : FileSizeText(entry.Size);
    entry.TypeText = type.Comment;
    entry.DateText = dates.Text(info.lastModified());
    entry.Kind = isDir ? DirKind : FileKind;
    entry.Path = path;
    entry.IconKey = type.MimeName;
    return entry;
}

TListing TFolderReader::ReadFolder(const QString& path, const TMaskFilter& filter)
{
    // A sub-folder remembered without its final "/" still joins names right.
    const QString folder = FolderWithDelimiter(path);
    TListing listing;
    TDateTextFormat dates;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString name = info.fileName();
        if (!info.isDir() && !filter.Passes(name))
            continue;
        listing.Entries.append(MakeEntry(info, name, folder + name, dates));
        listing.Total += listing.Entries.last().Size;
    }
    SortEntries(listing.Entries);
    return listing;
}

TListing TFolderReader::ReadFileList(const QStringList& lines, bool pairs)
{
    TListing listing;
    TDateTextFormat dates;
    QHash<QString, QString> firstPaths; // names compare without regard to case
    for (const QString& line : lines) {
        QString name, path = line;
        if (pairs) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            name = equals < 0 ? line : line.left(equals);
            const QString key = name.toCaseFolded();
            auto first = firstPaths.constFind(key);
            if (first == firstPaths.cend())
                first = firstPaths.insert(key, equals < 0 ? QString() : line.mid(equals + 1));
            path = *first;
        }
        // A line without a path gives nothing that could be shown or opened.
        if (path.isEmpty())
            continue;
        const QFileInfo info(path);
        if (!info.exists()) {
            TListEntry missing;
            missing.Name = info.fileName();
            missing.Kind = FileKind;
            missing.Path = path;
            listing.Entries.append(missing);
            continue;
        }
        if (info.isDir() && IsDotFolder(info.fileName()))
            continue;
        if (!pairs)
            name = info.fileName().isEmpty() ? QFileInfo(QDir::cleanPath(path)).fileName()
                                             : info.fileName();
        listing.Entries.append(MakeEntry(info, name, path, dates));
        listing.Total += listing.Entries.last().Size;
    }
    return listing;
}
