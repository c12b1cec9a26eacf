#include "uFileReplace.h"

#include "uError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void RaiseCopyError(const QString& source, const QString& target,
                                 const QString& reason)
{
    throw EAppError(QStringLiteral("Cannot copy '%1' to '%2': %3").arg(source, target, reason));
}

} // namespace

void ReplaceFileContent(const QString& source, const QString& target, TKeepMode keepMode)
{
    const QFileInfo targetInfo(target);
    const QString realTarget = targetInfo.isSymLink() ? targetInfo.symLinkTarget() : target;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        RaiseCopyError(source, target, in.errorString());
    struct stat status
    {
    };
    const bool targetExists = ::stat(QFile::encodeName(realTarget).constData(), &status) == 0;
    if (keepMode == TKeepMode::Source || !targetExists) {
        if (::fstat(in.handle(), &status) != 0)
            RaiseCopyError(source, target, qt_error_string(errno));
    }

    QTemporaryFile out(QFileInfo(realTarget).absolutePath() + QStringLiteral("/.") +
                       QFileInfo(realTarget).fileName() + QStringLiteral(".XXXXXX"));
    if (!out.open())
        RaiseCopyError(source, target, out.errorString());
    if (::fchmod(out.handle(), status.st_mode & 07777) != 0)
        RaiseCopyError(source, target, qt_error_string(errno));
    constexpr qint64 ChunkSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(ChunkSize);
    for (;;) {
        const qint64 length = in.read(buffer.get(), ChunkSize);
        if (length < 0)
            RaiseCopyError(source, target, in.errorString());
        if (length == 0)
            break;
        if (out.write(buffer.get(), length) != length)
            RaiseCopyError(source, target, out.errorString());
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)
        RaiseCopyError(source, target, out.errorString());
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(realTarget).constData()) != 0)
        RaiseCopyError(source, target, qt_error_string(errno));
    out.setAutoRemove(false);
}

void MoveFileReplacing(const QString& source, const QString& target)
{
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return;
    if (errno != EXDEV)
        throw EAppError(QStringLiteral("Cannot move '%1' to '%2': %3")
                            .arg(source, target, qt_error_string(errno)));
    ReplaceFileContent(source, target, TKeepMode::Source);
    QFile file(source);
    if (!file.remove())
        throw EAppError(
            QStringLiteral("Cannot move '%1' to '%2': %3").arg(source, target, file.errorString()));
}
