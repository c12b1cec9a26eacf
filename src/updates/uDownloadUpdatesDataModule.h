#pragma once

#include "uDownloadTaskStore.h"

#include <QDateTime>
#include <QObject>

#include <memory>

// The state of the update engine as the status display shows it; the order
// is fixed (tables are indexed by it).
enum class TUpdateCheckStatus {
    NotStarted,
    InProgress,
    Nothing,
    UpdatesFound,
    Updated,
    UpdatesPending,
    Failed,
    Disabled
};

// The update engine: one long-lived object created at start-up, before the
// main window.
class TDownloadUpdatesDataModule : public QObject
{
    Q_OBJECT

public:
    explicit TDownloadUpdatesDataModule(QObject* parent = nullptr);
    ~TDownloadUpdatesDataModule() override;

    void SetStore(std::shared_ptr<IDownloadTaskStore> store);
    std::shared_ptr<IDownloadTaskStore> Store() const;

    // The start-up step before any window; true means this process must end.
    bool ApplicationStartup();
    // True while a check thread exists.
    bool IsDownloading() const;
    // Ends a running check.
    void Stop();
    TUpdateCheckStatus Status() const;
    // The time of the last successful instruction download; null for none.
    QDateTime LastCheck() const;

signals:
    void OnStatusChange();

private:
    std::shared_ptr<IDownloadTaskStore> FStore;
    TUpdateCheckStatus FStatus = TUpdateCheckStatus::NotStarted;
    QDateTime FLastCheck;
};
