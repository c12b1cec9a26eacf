#include "uDownloadTaskFile.h"

#include "uCheckMd5.h"
#include "uDesktopShell.h"
#include "uError.h"
#include "uFileReplace.h"
#include "uShared.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString KeyUrl = QStringLiteral("Url");
const QString KeyMd5 = QStringLiteral("Md5");
const QString KeyTempFile = QStringLiteral("TempFile");
const QString KeyFile = QStringLiteral("File");
const QString KeyArgs = QStringLiteral("Args");
const QString KeyBackupFile = QStringLiteral("BackupFile");

bool SameFile(const QString& a, const QString& b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Whether some process could keep us from writing the file: we may not open
// it for writing, or another process holds a lock on it (office suites lock
// the documents they have open).
bool CannotWriteExclusively(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return true;
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

// A downloaded program arrives as a private, non-executable file; the desktop
// would open it as a document.
void MakeProgramExecutable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray head = file.read(4);
    if (head.startsWith("\x7f"
                        "ELF") ||
        head.startsWith("#!"))
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

void RemoveFileQuietly(const QString& path)
{
    if (!path.isEmpty())
        QFile::remove(path);
}

// A downloaded file is trusted only when it is our own regular file that
// nobody else may write: the temporary folder is shared, and a file someone
// else placed under a remembered name (after a reboot emptied the folder)
// could be changed between the digest check and its use.
bool IsOwnPrivateFile(const QFile& file)
{
    struct stat status
    {
    };
    return ::fstat(file.handle(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Whether the path names anything, a dangling link included.
bool Exists(const QString& path)
{
    struct stat status
    {
    };
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// The part of the journal both file tasks write: the file and its backup.
void WriteFileAndBackup(IDownloadTaskStore& store, const QString& section, const QString& file,
                        const QString& backup)
{
    store.WriteString(section, KeyFile, file);
    store.WriteString(section, KeyBackupFile, backup);
}

} // namespace

// --- FILE-DELETE

TDownloadTaskFileDelete::TDownloadTaskFileDelete(IDownloadTaskOwner& owner, const QString& file)
    : TDownloadTask(owner, CmdFileDelete), FFile(file)
{}

TDownloadTaskFileDelete::TDownloadTaskFileDelete(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTask(owner, saved), FFile(ReadSaved(saved, KeyFile))
{}

TDownloadTaskFileDelete::~TDownloadTaskFileDelete()
{
    RemoveFileQuietly(FBackupFile);
}

void TDownloadTaskFileDelete::Install()
{
    TDownloadTask::Install();
    FBackupFile = CreateTempFileName();
    // A file that is not there fails here, before the journal: a journal
    // entry then always means that the file existed, and its absence at the
    // next start means that the move took place.
    if (!Exists(FFile))
        MoveFileReplacing(FFile, FBackupFile); // raises the move's own error
    Owner().BeforeChange(*this);
    MoveFileReplacing(FFile, FBackupFile);
    FMoved = true;
}

void TDownloadTaskFileDelete::Rollback()
{
    TDownloadTask::Rollback();
    // Only a file that was really moved away is brought back: the empty
    // placeholder of a failed move must not take the file's place.
    if (!FMoved)
        return;
    try {
        MoveFileReplacing(FBackupFile, FFile);
        FMoved = false;
    } catch (const EAppError&) {
        // The file could not go back: keep it in the temporary folder rather
        // than deleting the only copy with this task.
        FBackupFile.clear();
    }
}

void TDownloadTaskFileDelete::Save(const QString& section)
{
    TDownloadTask::Save(section);
    Store()->WriteString(section, KeyFile, FFile);
}

void TDownloadTaskFileDelete::WriteJournal(const QString& section) const
{
    TDownloadTask::WriteJournal(section);
    WriteFileAndBackup(*Store(), section, FFile, FBackupFile);
}

void TDownloadTaskFileDelete::ReadJournal(const TSavedTask& saved)
{
    TDownloadTask::ReadJournal(saved);
    FBackupFile = ReadSaved(saved, KeyBackupFile);
    // The move is one rename (or a copy, then the removal of the file).
    FMoved = !Exists(FFile) && Exists(FBackupFile);
}

// --- downloaded files

QString UrlExtension(const QString& url)
{
    const qsizetype dot = url.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    QString extension = url.mid(dot);
    // A "/" after the dot belongs to a folder name ("v1.2/setup"); taking it
    // for an extension would name a temporary file in a folder that does not
    // exist.
    if (extension.contains(QLatin1Char('\\')) || extension.contains(QLatin1Char(':')) ||
        extension.contains(QLatin1Char('/')))
        return QString();
    return extension;
}

TDownloadTaskDownloadFile::TDownloadTaskDownloadFile(IDownloadTaskOwner& owner,
                                                     const QString& command, const QString& url,
                                                     const QString& md5)
    : TDownloadTask(owner, command), FUrl(url), FMd5(md5)
{}

TDownloadTaskDownloadFile::TDownloadTaskDownloadFile(IDownloadTaskOwner& owner,
                                                     const TSavedTask& saved)
    : TDownloadTask(owner, saved), FUrl(ReadSaved(saved, KeyUrl)), FMd5(ReadSaved(saved, KeyMd5)),
      FTempFile(NativeSeparators(ReadSaved(saved, KeyTempFile)))
{}

TDownloadTaskDownloadFile::~TDownloadTaskDownloadFile()
{
    if (!FKeepTempFile)
        RemoveFileQuietly(FTempFile);
}

bool TDownloadTaskDownloadFile::IsReady() const
{
    if (FTempFile.isEmpty())
        return false;
    // Not through a link: the file itself must be ours.
    const int fd =
        ::open(QFile::encodeName(FTempFile).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    if (!IsOwnPrivateFile(file))
        return false;
    try {
        CheckMd5(file, FMd5, FUrl);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TDownloadTaskDownloadFile::Download()
{
    TDownloadTask::Download();
    if (!IsReady())
        FTempFile.clear();
    if (!FTempFile.isEmpty())
        return;
    QString path;
    const std::unique_ptr<QFile> file = CreateUniqueTempFile(UrlExtension(FUrl), path);
    FTempFile = path;
    Owner().FtpDownload(FUrl, *file);
    if (!file->flush())
        throw EAppError(file->errorString());
    CheckMd5(*file, FMd5, FUrl);
}

void TDownloadTaskDownloadFile::Install()
{
    TDownloadTask::Install();
    FKeepTempFile = false;
}

void TDownloadTaskDownloadFile::Rollback()
{
    TDownloadTask::Rollback();
    FKeepTempFile = true;
}

void TDownloadTaskDownloadFile::Save(const QString& section)
{
    TDownloadTask::Save(section);
    const auto store = Store();
    store->WriteString(section, KeyUrl, FUrl);
    store->WriteString(section, KeyMd5, FMd5);
    store->WriteString(section, KeyTempFile, FTempFile);
    FKeepTempFile = true; // the next start needs the file
}

void TDownloadTaskDownloadFile::Commit()
{
    TDownloadTask::Commit();
    FKeepTempFile = false;
}

// --- RUN

TDownloadTaskFileRun::TDownloadTaskFileRun(IDownloadTaskOwner& owner, const QString& url,
                                           const QString& md5, const QString& args)
    : TDownloadTaskDownloadFile(owner, CmdRun, url, md5), FArgs(args)
{}

TDownloadTaskFileRun::TDownloadTaskFileRun(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTaskDownloadFile(owner, saved), FArgs(ReadSaved(saved, KeyArgs))
{}

void TDownloadTaskFileRun::Install()
{
    // The file must outlive the installation: the started program may still
    // be reading it, so the temporary file stays until Commit.
    MakeProgramExecutable(TempFile());
    const int result =
        DesktopShell().ShellExecute(QStringLiteral("open"), TempFile(), FArgs, QString(), false);
    if (result <= 32)
        throw EAppError(QStringLiteral("Cannot start '%1' (error %2)").arg(TempFile()).arg(result));
}

void TDownloadTaskFileRun::Save(const QString& section)
{
    TDownloadTaskDownloadFile::Save(section);
    Store()->WriteString(section, KeyArgs, FArgs);
}

// --- FILE-UPDATE

TDownloadTaskFileUpdate::TDownloadTaskFileUpdate(IDownloadTaskOwner& owner, const QString& url,
                                                 const QString& md5, const QString& file)
    : TDownloadTaskDownloadFile(owner, CmdFileUpdate, url, md5), FFile(file)
{}

TDownloadTaskFileUpdate::TDownloadTaskFileUpdate(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTaskDownloadFile(owner, saved), FFile(ReadSaved(saved, KeyFile))
{}

TDownloadTaskFileUpdate::~TDownloadTaskFileUpdate()
{
    RemoveFileQuietly(FBackupFile);
}

bool TDownloadTaskFileUpdate::NeedsRestart() const
{
    const QString path = QFileInfo(FFile).absoluteFilePath();
    return SameFile(path, QCoreApplication::applicationFilePath()) || CannotWriteExclusively(path);
}

void TDownloadTaskFileUpdate::Install()
{
    TDownloadTaskDownloadFile::Install();
    QString path;
    CreateUniqueTempFile(UrlExtension(FFile), path)->close();
    FBackupFile = path;
    ReplaceFileContent(FFile, FBackupFile);
    FBackedUp = true;
    Owner().BeforeChange(*this);
    ReplaceFileContent(TempFile(), FFile);
}

void TDownloadTaskFileUpdate::Rollback()
{
    // Only a complete backup goes back: the empty placeholder of a failed
    // backup must not overwrite the file, and a backup that could not be
    // copied back is kept rather than deleted.
    if (FBackedUp) {
        try {
            ReplaceFileContent(FBackupFile, FFile);
            FBackedUp = false;
            RemoveFileQuietly(FBackupFile);
            FBackupFile.clear();
        } catch (const EAppError&) {
            FBackupFile.clear();
        }
    }
    TDownloadTaskDownloadFile::Rollback();
}

void TDownloadTaskFileUpdate::Save(const QString& section)
{
    TDownloadTaskDownloadFile::Save(section);
    Store()->WriteString(section, KeyFile, FFile);
}

void TDownloadTaskFileUpdate::WriteJournal(const QString& section) const
{
    // The backup is complete before the entry is written; the downloaded
    // file itself is of no use to a rollback.
    TDownloadTask::WriteJournal(section);
    WriteFileAndBackup(*Store(), section, FFile, FBackupFile);
}

void TDownloadTaskFileUpdate::ReadJournal(const TSavedTask& saved)
{
    TDownloadTaskDownloadFile::ReadJournal(saved);
    FBackupFile = ReadSaved(saved, KeyBackupFile);
    FBackedUp = Exists(FBackupFile);
}
