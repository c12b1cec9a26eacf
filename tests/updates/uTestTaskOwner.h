#pragma once

#include "uDownloadTaskOwner.h"
#include "uFtpClient.h"

// The engine's side of the tasks for the tests: a store over real files and
// the real FTP client against the test server.
class TTestTaskOwner : public IDownloadTaskOwner
{
public:
    explicit TTestTaskOwner(std::shared_ptr<IDownloadTaskStore> store) : FStore(std::move(store))
    {
        Client.Host = QStringLiteral("127.0.0.1");
    }

    std::shared_ptr<IDownloadTaskStore> Store() const override { return FStore; }
    void FtpDownload(const QString& remotePath, QIODevice& out) override
    {
        ++Downloads;
        Client.Retrieve(remotePath, out);
    }

    TFtpClient Client;
    int Downloads = 0;

private:
    std::shared_ptr<IDownloadTaskStore> FStore;
};
