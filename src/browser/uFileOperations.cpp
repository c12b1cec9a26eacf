#include "uFileOperations.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

QString FileExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > path.lastIndexOf(QLatin1Char('/')) ? path.mid(dot) : QString();
}

bool CanRenamePath(const QString& path, bool locked)
{
    return !locked && FileExtension(path).compare(QLatin1String(".xls"), Qt::CaseInsensitive) == 0;
}

QString RenamedPath(const QString& oldPath, const QString& editedName)
{
    // A "/" would move the file into another folder, and an empty name or a
    // dot folder name is no file name: such an edit is refused like a name
    // the file system does not take.
    if (editedName.isEmpty() || editedName.contains(QLatin1Char('/')) ||
        editedName == QLatin1String(".") || editedName == QLatin1String(".."))
        return {};
    const QString folder = oldPath.left(oldPath.lastIndexOf(QLatin1Char('/')) + 1);
    const QString oldExtension = FileExtension(oldPath);
    if (FileExtension(editedName).compare(oldExtension, Qt::CaseInsensitive) == 0)
        return folder + editedName;
    return folder + editedName + oldExtension;
}

bool RenameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: a hard link fails when the
    // name is taken, so nothing is overwritten either.
    if (link(source.constData(), target.constData()) != 0)
        return false;
    if (unlink(source.constData()) != 0) {
        unlink(target.constData());
        return false;
    }
    return true;
}

TMenuState ExplorerMenuState(bool locked, const QList<TListEntry>& selected)
{
    TMenuState state;
    state.EntryItemsVisible = !selected.isEmpty();
    state.OpenEnabled = state.EntryItemsVisible;
    state.ChangeEnabled =
        !locked && !selected.isEmpty() &&
        selected.first().Kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    return state;
}

QString DeleteQuestion(const QList<TListEntry>& selected)
{
    if (selected.size() == 1)
        return QStringLiteral("Ar tikrai norite ištrinti bylą \"%1\"?").arg(selected.first().Path);
    return QStringLiteral("Ar tikrai norite ištrinti šias %1 bylas?").arg(selected.size());
}

QString TrashFailureText(const QStringList& failed)
{
    return QStringLiteral("Šių bylų nepavyko perkelti į šiukšlinę:\n") +
           failed.join(QLatin1Char('\n'));
}
