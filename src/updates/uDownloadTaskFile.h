#pragma once

#include "uDownloadTask.h"

// "FILE-DELETE": moves the file to the temporary folder, from where a
// rollback brings it back; the moved copy goes when the task is destroyed.
class TDownloadTaskFileDelete : public TDownloadTask
{
public:
    TDownloadTaskFileDelete(IDownloadTaskOwner& owner, const QString& file);
    TDownloadTaskFileDelete(IDownloadTaskOwner& owner, const TSavedTask& saved);
    ~TDownloadTaskFileDelete() override;

    QString ClassName() const override { return QStringLiteral("TDownloadTaskFileDelete"); }
    void Install() override;
    void Rollback() override;
    void Save(const QString& section) override;
    void WriteJournal(const QString& section) const override;
    void ReadJournal(const TSavedTask& saved) override;

    const QString& File() const { return FFile; }
    const QString& BackupFile() const { return FBackupFile; }

private:
    QString FFile;
    QString FBackupFile;
    bool FMoved = false;
};

// The common part of the tasks that fetch a file from the update server into
// a temporary file and verify its MD5 digest.
class TDownloadTaskDownloadFile : public TDownloadTask
{
public:
    TDownloadTaskDownloadFile(IDownloadTaskOwner& owner, const QString& command, const QString& url,
                              const QString& md5);
    TDownloadTaskDownloadFile(IDownloadTaskOwner& owner, const TSavedTask& saved);
    ~TDownloadTaskDownloadFile() override;

    bool IsReady() const override;
    void Download() override;
    void Install() override;
    void Rollback() override;
    void Save(const QString& section) override;
    void Commit() override;

    const QString& Url() const { return FUrl; }
    const QString& Md5() const { return FMd5; }
    const QString& TempFile() const { return FTempFile; }
    bool KeepTempFile() const { return FKeepTempFile; }

private:
    QString FUrl;
    QString FMd5;
    QString FTempFile;
    bool FKeepTempFile = true;
};

// The extension the downloaded file gets: the remote path's text from its
// last "."; none when there is no "." or a path delimiter or ":" follows it.
QString UrlExtension(const QString& url);

// "RUN": starts the downloaded file with the parameters (a document opens in
// the application registered for it). The program is not waited for.
class TDownloadTaskFileRun : public TDownloadTaskDownloadFile
{
public:
    TDownloadTaskFileRun(IDownloadTaskOwner& owner, const QString& url, const QString& md5,
                         const QString& args);
    TDownloadTaskFileRun(IDownloadTaskOwner& owner, const TSavedTask& saved);

    QString ClassName() const override { return QStringLiteral("TDownloadTaskFileRun"); }
    void Install() override;
    void Save(const QString& section) override;

    const QString& Args() const { return FArgs; }

private:
    QString FArgs;
};

// "FILE-UPDATE": replaces a local file with the downloaded one, keeping a
// backup in the temporary folder for a rollback until the task is destroyed.
class TDownloadTaskFileUpdate : public TDownloadTaskDownloadFile
{
public:
    TDownloadTaskFileUpdate(IDownloadTaskOwner& owner, const QString& url, const QString& md5,
                            const QString& file);
    TDownloadTaskFileUpdate(IDownloadTaskOwner& owner, const TSavedTask& saved);
    ~TDownloadTaskFileUpdate() override;

    QString ClassName() const override { return QStringLiteral("TDownloadTaskFileUpdate"); }
    bool NeedsRestart() const override;
    void Install() override;
    void Rollback() override;
    void Save(const QString& section) override;
    void WriteJournal(const QString& section) const override;
    void ReadJournal(const TSavedTask& saved) override;

    const QString& File() const { return FFile; }
    const QString& BackupFile() const { return FBackupFile; }

private:
    QString FFile;
    QString FBackupFile;
    bool FBackedUp = false;
};
