#include "uAtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Fail(QString* errorText, int error)
{
    if (errorText)
        *errorText = qt_error_string(error);
    return false;
}

bool WriteAll(int fd, const QByteArray& content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t written =
            ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A new file beside the target, created exclusively; -1 with errno on failure.
int CreateSibling(const QString& target, mode_t mode, QString& path)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
               QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                         QLatin1Char('0'));
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

QString ResolvedWritePath(const QString& path)
{
    const QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QDir(info.absolutePath()).canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

QMutex& FileWriteMutex(const QString& resolvedPath)
{
    static QMutex guard;
    static std::map<QString, std::unique_ptr<QMutex>> mutexes;
    const QMutexLocker locker(&guard);
    std::unique_ptr<QMutex>& mutex = mutexes[resolvedPath];
    if (!mutex)
        mutex = std::make_unique<QMutex>();
    return *mutex;
}

bool ReplaceFileContent(const QString& resolvedPath, const QByteArray& content, QString* errorText)
{
    const QByteArray target = QFile::encodeName(resolvedPath);
    struct stat targetStat = {};
    const bool exists = ::stat(target.constData(), &targetStat) == 0;
    // Renaming would replace a file we may not write; refuse as writing it
    // in place would.
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return Fail(errorText, errno);

    QString tempPath;
    const int fd = CreateSibling(resolvedPath, exists ? 0600 : 0666, tempPath);
    if (fd < 0)
        return Fail(errorText, errno);
    const QByteArray temp = QFile::encodeName(tempPath);
    const bool written = WriteAll(fd, content) &&
                         (!exists || ::fchmod(fd, targetStat.st_mode & 07777) == 0) &&
                         ::fsync(fd) == 0;
    const int error = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.constData(), target.constData()) != 0) {
        const int failure = !written ? error : errno;
        ::unlink(temp.constData());
        return Fail(errorText, failure);
    }
    // The folder is not synced: after a power cut the rename may be lost,
    // which leaves the old file, never a broken one.
    return true;
}
