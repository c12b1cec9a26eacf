// The body of a check, on the download thread.
#include "uDownloadExceptions.h"
#include "uDownloadThread.h"
#include "uDownloadUpdatesDataModule.h"
#include "uInstructionParser.h"

#include <QBuffer>

namespace {

QString YesNo(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

void TDownloadUpdatesDataModule::Execute(TDownloadThread& thread)
{
    WriteLog(QStringLiteral("Thread.Execute START"));
    if (FTasks.empty()) {
        try {
            WriteLog(QStringLiteral("Thread.Execute DownloadInstructionsFile"));
            DownloadInstructionsFile(thread);
            thread.FLastCheckTime = QDateTime::currentDateTime();
            if (FTasks.empty())
                FStatus = TUpdateCheckStatus::Nothing;
            WriteLog(
                QStringLiteral("Thread.Execute DownloadInstructionsFile=%1").arg(FTasks.size()));
        } catch (const std::exception&) {
            FStatus = TUpdateCheckStatus::Failed;
            WriteLog(QStringLiteral("Thread.Execute DownloadInstructionsFile=FAIL"));
        }
    } else if (!FServers.empty()) {
        // Tasks pending from an earlier run: the instruction download that
        // would pick a server is skipped, so their files come from the entry
        // that stands first (the one that answered last in this run).
        ApplyServer(0);
    }
    if (!FTasks.empty())
        FStatus = TUpdateCheckStatus::UpdatesFound;
    Report(thread);

    if (!FTasks.empty()) {
        for (size_t i = 0; i < FTasks.size() && !thread.StopRequested(); ++i) {
            TDownloadTask& task = *FTasks[i].Task;
            try {
                task.Download();
            } catch (const std::exception&) {
                WriteLog(QStringLiteral("Thread.Execute Tasks[%1/%2].Download=FAIL")
                             .arg(i)
                             .arg(task.ClassName()));
                throw;
            }
            WriteLog(QStringLiteral("Thread.Execute Tasks[%1/%2].Download=OK")
                         .arg(i)
                         .arg(task.ClassName()));
        }
        const bool canInstall = IsReadyToInstall() && !NeedsRestart();
        WriteLog(QStringLiteral("Thread.Execute CanInstall=%1").arg(YesNo(canInstall)));
        bool installed = false;
        if (canInstall) {
            installed = InstallFiles();
            WriteLog(QStringLiteral("Thread.Execute Installed=%1").arg(YesNo(installed)));
        }
        if (installed) {
            CleanSaved();
            ClearTasks();
            WriteLog(QStringLiteral("Thread.Execute CleanSaved"));
        } else {
            SaveDelayed();
            WriteLog(QStringLiteral("Thread.Execute SaveDelayed"));
        }
        Report(thread);
    }
    WriteLog(QStringLiteral("Thread.Execute END"));
}

void TDownloadUpdatesDataModule::DownloadInstructionsFile(const TDownloadThread& thread)
{
    QString path = FInstructionsPath;
    int i = 0;
    QStringList fetched;
    QBuffer buffer;
    while (!thread.StopRequested()) {
        fetched.append(path);
        // Every entry is tried for this path; a failure is not logged.
        for (;; ++i) {
            if (i >= static_cast<int>(FServers.size()))
                throw EDownloadFileException(
                    QStringLiteral("Atnaujinimai nepasiekiami nė viename serveryje"));
            ApplyServer(i);
            buffer.close();
            buffer.setData(QByteArray());
            buffer.open(QIODevice::WriteOnly);
            try {
                FtpDownload(path, buffer);
                break;
            } catch (const std::exception&) {
            }
        }
        WriteLog(QStringLiteral("  try server: %1:%2@%3:%4 (%5:%6)")
                     .arg(FFtpClient.UserName, FFtpClient.Password, FFtpClient.Host)
                     .arg(FFtpClient.Port)
                     .arg(FProxyHost)
                     .arg(FProxyPort));
        MoveServerToFront(FServers, i);

        const TInstructionsResult result = ParseInstructions(buffer.data(), *this, FTasks);
        if (result.NoUpdates)
            FStatus = TUpdateCheckStatus::Nothing;
        if (result.Redirect.isEmpty())
            return;
        if (fetched.contains(result.Redirect, Qt::CaseInsensitive)) {
            WriteLog(QStringLiteral("Rekursinis kreipinys į %1").arg(result.Redirect));
            return;
        }
        path = result.Redirect;
        i = 0;
    }
}
