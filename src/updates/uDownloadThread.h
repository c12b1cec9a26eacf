#pragma once

#include <QDateTime>
#include <QThread>

class TDownloadUpdatesDataModule;

// The thread of one update check. Its body is the engine's Execute; a stop
// is asked through the thread's interruption request.
class TDownloadThread : public QThread
{
    Q_OBJECT

public:
    explicit TDownloadThread(TDownloadUpdatesDataModule& owner);

    TDownloadUpdatesDataModule& Owner() const { return FOwner; }
    bool StopRequested() const { return isInterruptionRequested(); }

    // When the instruction file was fetched; null when it was not.
    QDateTime FLastCheckTime;

protected:
    void run() override;

private:
    TDownloadUpdatesDataModule& FOwner;
};
