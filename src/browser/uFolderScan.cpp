#include "uFolderScan.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

// QFileInfo hands out modification times in local time only, and the
// conversion looks at the system's zone file once per file: in a folder of
// thousands of files that doubles the work of the whole listing. Reading the
// entries here keeps one stat() per entry and leaves the times in UTC.

namespace {

bool StatAt(int dirFd, const char* name, TScanEntry& entry)
{
    struct stat info;
    if (fstatat(dirFd, name, &info, 0) != 0 &&
        fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    entry.IsDir = S_ISDIR(info.st_mode);
    entry.Size = S_ISREG(info.st_mode) ? qint64(info.st_size) : 0;
    entry.Modified = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return true;
}

} // namespace

QList<TScanEntry> ScanFolder(const QString& folder)
{
    QList<TScanEntry> entries;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    while (const dirent* found = readdir(dir)) {
        const char* name = found->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        TScanEntry entry;
        // An entry removed since the folder was read is left out.
        if (!StatAt(dirfd(dir), name, entry))
            continue;
        entry.Name = QFile::decodeName(name);
        entries.append(std::move(entry));
    }
    closedir(dir);
    return entries;
}

bool ScanPath(const QString& path, TScanEntry& entry)
{
    return StatAt(AT_FDCWD, QFile::encodeName(path).constData(), entry);
}
