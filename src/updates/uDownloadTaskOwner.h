#pragma once

#include "uDownloadTaskStore.h"

#include <QString>

#include <memory>

class QIODevice;
class TDownloadTask;

// Fetches one remote file of the update server into a stream; raises an
// error on any failure and returns only with the whole file written.
class IFtpDownloader
{
public:
    virtual ~IFtpDownloader() = default;
    virtual void FtpDownload(const QString& remotePath, QIODevice& out) = 0;
};

// What a task needs of the update engine that owns it: the settings store
// and the download of files from the server the check is using.
class IDownloadTaskOwner : public IFtpDownloader
{
public:
    virtual std::shared_ptr<IDownloadTaskStore> Store() const = 0;
    // Called by a task's Install once it knows what a rollback needs and
    // before it changes anything, so that an installation cut short (the
    // process killed) can be undone at the next start.
    virtual void BeforeChange(const TDownloadTask& /*task*/) {}
};
