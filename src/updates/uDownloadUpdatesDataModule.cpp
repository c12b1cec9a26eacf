#include "uDownloadUpdatesDataModule.h"

TDownloadUpdatesDataModule::TDownloadUpdatesDataModule(QObject* parent) : QObject(parent) {}

TDownloadUpdatesDataModule::~TDownloadUpdatesDataModule() = default;

void TDownloadUpdatesDataModule::SetStore(std::shared_ptr<IDownloadTaskStore> store)
{
    FStore = std::move(store);
}

std::shared_ptr<IDownloadTaskStore> TDownloadUpdatesDataModule::Store() const
{
    return FStore;
}

bool TDownloadUpdatesDataModule::ApplicationStartup()
{
    return false;
}

bool TDownloadUpdatesDataModule::IsDownloading() const
{
    return false;
}

void TDownloadUpdatesDataModule::Stop() {}

TUpdateCheckStatus TDownloadUpdatesDataModule::Status() const
{
    return FStatus;
}

QDateTime TDownloadUpdatesDataModule::LastCheck() const
{
    return FLastCheck;
}
