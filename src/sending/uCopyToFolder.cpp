#include "uCopyToFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 ChunkSize = qint64(1) << 20;

const QDir::Filters AllEntries =
    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool Taken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

qint64 BytesIn(const QFileInfo& source)
{
    if (source.isSymLink() && source.isDir())
        return 0;
    if (!source.isDir())
        return source.size();
    qint64 bytes = 0;
    QDirIterator it(source.filePath(), AllEntries, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isFile())
            bytes += it.fileInfo().size();
    }
    return bytes;
}

bool IsInside(const QString& folder, const QString& candidate)
{
    const QString outer = QFileInfo(folder).canonicalFilePath();
    const QString inner = QFileInfo(candidate).canonicalFilePath();
    return !outer.isEmpty() && (inner == outer || inner.startsWith(outer + u'/'));
}

class TCopier
{
public:
    TCopier(const TCopyProgress& progress, qint64 total, TCopyResult& result)
        : FProgress(progress), FTotal(total), FResult(result)
    {}

    // Copies `source` into `folder` under its own name or the next free one;
    // answers the new path, or empty when it failed or was stopped.
    QString CopyEntry(const QFileInfo& source, const QString& folder)
    {
        if (source.isSymLink() && source.isDir())
            return CopyLink(source, folder);
        if (source.isDir())
            return CopyFolder(source, folder);
        return CopyFile(source, folder);
    }

private:
    void Fail(const QString& path, const QString& reason)
    {
        FResult.Failures.append({path, reason});
    }

    bool Advance(qint64 bytes)
    {
        FDone += bytes;
        if (!FResult.Cancelled && FProgress && !FProgress(FDone, FTotal))
            FResult.Cancelled = true;
        return !FResult.Cancelled;
    }

    // A link to a folder stays a link: following it could copy without end.
    QString CopyLink(const QFileInfo& source, const QString& folder)
    {
        for (int n = 1;; ++n) {
            QString target = TargetPath(folder, source.fileName(), n, false);
            if (QFile::link(source.symLinkTarget(), target))
                return target;
            if (!Taken(target)) {
                Fail(source.filePath(), QStringLiteral("nepavyko sukurti nuorodos"));
                return {};
            }
        }
    }

    QString CopyFolder(const QFileInfo& source, const QString& folder)
    {
        if (IsInside(source.filePath(), folder)) {
            Fail(source.filePath(), QStringLiteral("aplanko negalima kopijuoti į jį patį"));
            return {};
        }
        QString target;
        for (int n = 1; target.isEmpty(); ++n) {
            const QString candidate = TargetPath(folder, source.fileName(), n, true);
            if (QDir().mkdir(candidate))
                target = candidate;
            else if (!Taken(candidate)) {
                Fail(source.filePath(),
                     QStringLiteral("nepavyko sukurti aplanko \"%1\"").arg(candidate));
                return {};
            }
        }
        const QFileInfoList entries =
            QDir(source.filePath()).entryInfoList(AllEntries, QDir::Name | QDir::DirsFirst);
        for (const QFileInfo& entry : entries) {
            CopyEntry(entry, target);
            if (FResult.Cancelled)
                break;
        }
        return target;
    }

    QString CopyFile(const QFileInfo& source, const QString& folder)
    {
        QFile in(source.filePath());
        if (!source.exists()) {
            Fail(source.filePath(), QStringLiteral("byla nerasta"));
            return {};
        }
        // A pipe or a device would block the copy or never end.
        if (!source.isFile()) {
            Fail(source.filePath(), QStringLiteral("tai ne įprasta byla"));
            return {};
        }
        if (!in.open(QIODevice::ReadOnly)) {
            Fail(source.filePath(), in.errorString());
            return {};
        }
        // The name is claimed by an exclusive create: a file that appears
        // meanwhile is never overwritten.
        QFile out;
        for (int n = 1; !out.isOpen(); ++n) {
            out.setFileName(TargetPath(folder, source.fileName(), n, false));
            if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !Taken(out.fileName())) {
                Fail(source.filePath(), out.errorString());
                return {};
            }
        }
        QString error;
        QByteArray buffer(int(ChunkSize), Qt::Uninitialized);
        for (;;) {
            const qint64 read = in.read(buffer.data(), ChunkSize);
            if (read < 0)
                error = in.errorString();
            else if (read > 0 && out.write(buffer.constData(), read) != read)
                error = out.errorString();
            if (!error.isEmpty() || read <= 0 || !Advance(read))
                break;
        }
        if (error.isEmpty() && !FResult.Cancelled && !out.flush())
            error = out.errorString();
        if (!error.isEmpty() || FResult.Cancelled) {
            out.remove();
            if (!error.isEmpty())
                Fail(source.filePath(), error);
            return {};
        }
        out.close();
        out.setPermissions(source.permissions());
        out.setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
        // Empty files move the count on too, so that a stop is heard at once.
        Advance(0);
        return out.fileName();
    }

    static QString TargetPath(const QString& folder, const QString& name, int n, bool isFolder)
    {
        const QString free = n == 1     ? name
                             : isFolder ? name + QStringLiteral(" (%1)").arg(n)
                                        : CollisionName(name, n);
        return QDir(folder).filePath(free);
    }

    const TCopyProgress& FProgress;
    const qint64 FTotal;
    qint64 FDone = 0;
    TCopyResult& FResult;
};

} // namespace

QString CollisionName(const QString& name, int n)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    // A name that starts with its only dot (".profile") has no extension.
    if (dot <= 0)
        return name + QStringLiteral(" (%1)").arg(n);
    return name.left(dot) + QStringLiteral(" (%1)").arg(n) + name.mid(dot);
}

TCopyResult CopyToFolder(const QStringList& sources, const QString& folder,
                         const TCopyProgress& progress)
{
    TCopyResult result;
    const QString target = QDir::cleanPath(folder);
    if (!QDir().mkpath(target)) {
        result.Failures.append({folder, QStringLiteral("nepavyko sukurti aplanko")});
        return result;
    }
    qint64 total = 0;
    for (const QString& source : sources)
        total += BytesIn(QFileInfo(source));
    TCopier copier(progress, total, result);
    for (const QString& source : sources) {
        const QString created = copier.CopyEntry(QFileInfo(source), target);
        if (!created.isEmpty())
            result.Created.append(created);
        if (result.Cancelled)
            break;
    }
    return result;
}
