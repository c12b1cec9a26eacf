#pragma once

#include "uDownloadTask.h"
#include "uDownloadTaskOwner.h"
#include "uDownloadTaskStore.h"
#include "uFtpClient.h"
#include "uServerList.h"
#include "uUpdateLog.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

class TDownloadThread;

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
// main window. A check runs on one TDownloadThread; the GUI thread does not
// touch the task and server lists while it runs. Pending updates are
// installed at the next start, by a copy of the program when the program's
// own files are concerned.
class TDownloadUpdatesDataModule : public QObject, public IDownloadTaskOwner
{
    Q_OBJECT

public:
    // The log goes beside the configuration the command line names.
    explicit TDownloadUpdatesDataModule(QObject* parent = nullptr);
    explicit TDownloadUpdatesDataModule(const QString& logFileName, QObject* parent = nullptr);
    ~TDownloadUpdatesDataModule() override;

    void SetStore(std::shared_ptr<IDownloadTaskStore> store);
    std::shared_ptr<IDownloadTaskStore> Store() const override;
    // The executable and its parameters (program name excluded) that the
    // start-up step and the instruction path work with; this process's own
    // unless set.
    void SetProcess(const QString& exePath, const QStringList& params);

    // --- checks
    // Starts a check unless one runs. Raises EDownloadUpdatesException
    // without a settings store.
    void Start();
    // Ends a running check: asks, aborts the transfer and waits, carrying out
    // the thread's reports meanwhile.
    void Stop();
    // True while a check thread exists.
    bool IsDownloading() const;
    TUpdateCheckStatus Status() const;
    // The time of the last successful instruction download; null for none.
    QDateTime LastCheck() const;
    // The servers in the order the next transfer tries them.
    const TServerList& Servers() const { return FServers; }
    // The tasks of the current check, or those pending from an earlier run.
    const TDownloadTaskList& Tasks() const { return FTasks; }

    // Fetches one file from the server applied last (a connection of its own).
    void FtpDownload(const QString& remotePath, QIODevice& out) override;
    // Adds the task about to change something to the install journal.
    void BeforeChange(const TDownloadTask& task) override;

    // --- the task list and the start-up step
    // Before any window; true means this process must end at once.
    bool ApplicationStartup();
    void ReadLastCheck();
    bool IsReadyToInstall() const;
    bool NeedsRestart() const;
    // Installs every task; on a failure rolls back the tasks started so far
    // and answers false. Each task is entered in the install journal before
    // it changes anything; CleanSaved removes the journal.
    bool InstallFiles();
    void SaveDelayed();
    void ReadDelayed();
    void CleanSaved();
    void ClearTasks();

    void WriteLog(const QString& message);

signals:
    void OnStatusChange();

private:
    friend class TDownloadThread;

    bool InitDownload();
    void BuildServerList(const QString& servers, const QString& proxy);
    void ApplyServer(int index);
    // The body of the check thread and its steps.
    void Execute(TDownloadThread& thread);
    void DownloadInstructionsFile(const TDownloadThread& thread);
    // Runs ReportCheck on the GUI thread and waits for it; its error comes
    // back to the thread.
    void Report(const TDownloadThread& thread);
    void ReportCheck(const TDownloadThread& thread);
    void ThreadEnded();

    QStringList PendingNames() const;
    // The install journal (uInstallJournal): section names of the tasks
    // whose installation began, in order, in section "Atnaujinimai".
    QStringList JournalNames() const;
    void MarkJournalComplete();
    void ClearJournal();
    // At start-up, before the pending tasks are read: an installation that
    // was cut short is rolled back, or, when every task was installed,
    // finished by cleaning up.
    void RecoverInterruptedInstall();
    bool IsDelayedInstallMode() const;
    void RemoveTempExe();
    bool RelaunchForInstall();
    void RelaunchOriginal();
    // Whether the copy may be started again for the pending tasks.
    bool MayRelaunchForInstall();

    std::shared_ptr<IDownloadTaskStore> FStore;
    std::unique_ptr<TDownloadThread> FThread;
    std::atomic<TUpdateCheckStatus> FStatus{TUpdateCheckStatus::NotStarted};
    TServerList FServers;
    TDownloadTaskList FTasks;
    QString FDirectory;
    QString FVersion;
    QString FClient;
    QString FInstructionsPath;
    QDateTime FLastCheck;
    TFtpClient FFtpClient;
    // The proxy of the entry applied last: no proxy protocol is spoken, it
    // only shows in the log.
    QString FProxyHost;
    int FProxyPort = 0;
    TUpdateLog FLog;
    QString FExePath;
    QStringList FParams;
    QStringList FJournal; // the journal's names while InstallFiles runs
};
