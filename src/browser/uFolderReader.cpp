#include "uFolderReader.h"

#include "uBrowserPaths.h"
#include "uDateText.h"
#include "uEntryOrder.h"
#include "uFolderScan.h"
#include "uMaskFilter.h"
#include "uSizeText.h"

#include <QDir>
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

TListEntry TFolderReader::MakeEntry(const TScanEntry& scan, const QString& name,
                                    const QString& path, TDateTextFormat& dates)
{
    const TFileTypeCache::TFileType& type =
        scan.IsDir ? FTypes.ForFolder() : FTypes.ForFile(scan.Name);
    TListEntry entry;
    entry.Name = name;
    entry.Size = scan.Size;
    entry.SizeText = scan.IsDir ? QString() : FileSizeText(scan.Size);
    entry.TypeText = type.Comment;
    entry.DateText = dates.Text(scan.Modified);
    entry.Kind = scan.IsDir ? DirKind : FileKind;
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
    const QList<TScanEntry> scanned = ScanFolder(folder);
    listing.Entries.reserve(scanned.size());
    for (const TScanEntry& scan : scanned) {
        if (!scan.IsDir && !filter.Passes(scan.Name))
            continue;
        listing.Entries.append(MakeEntry(scan, scan.Name, folder + scan.Name, dates));
        listing.Total += scan.Size;
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
        TScanEntry scan;
        scan.Name = QFileInfo(path).fileName();
        if (!ScanPath(path, scan)) {
            TListEntry missing;
            missing.Name = scan.Name;
            missing.Kind = FileKind;
            missing.Path = path;
            listing.Entries.append(missing);
            continue;
        }
        if (scan.IsDir && IsDotFolder(scan.Name))
            continue;
        if (scan.Name.isEmpty()) // a folder given with its final "/"
            scan.Name = QFileInfo(QDir::cleanPath(path)).fileName();
        listing.Entries.append(MakeEntry(scan, pairs ? name : scan.Name, path, dates));
        listing.Total += scan.Size;
    }
    return listing;
}
