#include "uDownloadThread.h"

#include "uDownloadUpdatesDataModule.h"

TDownloadThread::TDownloadThread(TDownloadUpdatesDataModule& owner) : FOwner(owner) {}

void TDownloadThread::run()
{
    try {
        FOwner.Execute(*this);
    } catch (const std::exception&) {
        // A failed task download or report ends the check where it stands;
        // the log already says which step failed.
    }
}
