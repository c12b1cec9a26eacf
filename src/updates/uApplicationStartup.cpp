// The start-up step: pending updates are installed before any window, by a
// copy of the program when the program's own files are concerned.
#include "uDelayedInstall.h"
#include "uDesktopShell.h"
#include "uDownloadUpdatesDataModule.h"
#include "uShared.h"

#include <QDir>
#include <QFile>

namespace {

QString YesNo(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString ShellExecuteLine(const QString& file, const QString& params, int result)
{
    return QStringLiteral("  ShellExecute [%1] [%2] = %3").arg(file, params).arg(result);
}

} // namespace

bool TDownloadUpdatesDataModule::IsDelayedInstallMode() const
{
    return FindSwitch(FParams, SwitchInstallDelayedUpdates) >= 0;
}

bool TDownloadUpdatesDataModule::ApplicationStartup()
{
    ReadLastCheck();
    WriteLog(QStringLiteral("ApplicationStartup"));
    RemoveTempExe();
    RecoverInterruptedInstall();
    ReadDelayed();
    WriteLog(QStringLiteral("ApplicationStartup ReadDelayed=%1").arg(FTasks.size()));

    bool result = false;
    const bool ready = IsReadyToInstall();
    WriteLog(QStringLiteral("ApplicationStartup IsReadyToInstall=%1").arg(YesNo(ready)));
    const bool installMode = IsDelayedInstallMode();
    WriteLog(
        QStringLiteral("ApplicationStartup DelayedUpdatesInstallMode=%1").arg(YesNo(installMode)));
    if (installMode) {
        if (ready) {
            const bool installed = InstallFiles();
            WriteLog(QStringLiteral("ApplicationStartup InstallFiles=%1").arg(YesNo(installed)));
            if (installed) {
                CleanSaved();
                ClearTasks();
            }
        }
        RelaunchOriginal();
        result = true;
    } else if (ready) {
        const bool needsRestart = NeedsRestart();
        WriteLog(QStringLiteral("ApplicationStartup NeedsRestart=%1").arg(YesNo(needsRestart)));
        result = needsRestart && MayRelaunchForInstall() && RelaunchForInstall();
    }
    WriteLog(QStringLiteral("ApplicationStartup END=%1").arg(result ? 1 : 0));
    return result;
}

bool TDownloadUpdatesDataModule::MayRelaunchForInstall()
{
    const int attempts = FStore->ReadInteger(UpdatesSection, KeyInstallAttempts, 0);
    // The program the copy started again after a failed installation would
    // start the copy anew at once, and so on without end; and an installation
    // that failed at several starts is not forced on every further start.
    // The running program's check keeps the updates pending.
    if (FindSwitch(FParams, SwitchRemoveTempExe) >= 0 || attempts >= MaxInstallAttempts) {
        WriteLog(QStringLiteral("ApplicationStartup InstallSkipped=%1").arg(attempts));
        return false;
    }
    FStore->WriteInteger(UpdatesSection, KeyInstallAttempts, attempts + 1);
    return true;
}

void TDownloadUpdatesDataModule::RemoveTempExe()
{
    const int index = FindSwitch(FParams, SwitchRemoveTempExe);
    if (index < 0)
        return;
    const QString path = FParams.value(index + 1);
    // Only the installing copy is ever deleted on the command line's word.
    const bool deleted = IsInstallCopy(path, FExePath) && QFile::remove(path);
    WriteLog(QStringLiteral("  DeleteFile [%1] = %2").arg(path, YesNo(deleted)));
}

bool TDownloadUpdatesDataModule::RelaunchForInstall()
{
    QString copy;
    try {
        copy = MakeInstallCopy(FExePath);
    } catch (const std::exception& error) {
        // Without the copy the updates stay pending and the program starts
        // normally rather than ending without a window at every start.
        WriteLog(QStringLiteral("  CopyFile [%1] [%2] = False")
                     .arg(FExePath, QString::fromUtf8(error.what())));
        return false;
    }
    const QString params = InstallCopyParams(FExePath, FParams);
    const int result = DesktopShell().ShellExecute(QStringLiteral("open"), copy, params,
                                                   QDir::currentPath(), true);
    WriteLog(ShellExecuteLine(copy, params, result));
    if (result > 32)
        return true;
    // A copy that never ran is never deleted by anyone else.
    QFile::remove(copy);
    return false;
}

void TDownloadUpdatesDataModule::RelaunchOriginal()
{
    const int index = FindSwitch(FParams, SwitchInstallDelayedUpdates);
    const QString exe = FParams.value(index + 1);
    const QString params = RelaunchParams(FExePath, FParams, index);
    const int result = DesktopShell().ShellExecute(QStringLiteral("open"), exe, params,
                                                   QDir::currentPath(), false);
    WriteLog(ShellExecuteLine(exe, params, result));
}
