// The operations on the whole task list: decide, install with rollback, save
// as pending, reload, clean up.
#include "uDelayedInstall.h"
#include "uDownloadUpdatesDataModule.h"
#include "uSavedTask.h"

namespace {

const QString KeyPending = QStringLiteral("Neinstaliuota");

} // namespace

bool TDownloadUpdatesDataModule::IsReadyToInstall() const
{
    if (FTasks.empty())
        return false;
    for (const TDownloadTaskEntry& entry : FTasks)
        if (!entry.Task->IsReady())
            return false;
    return true;
}

bool TDownloadUpdatesDataModule::NeedsRestart() const
{
    for (const TDownloadTaskEntry& entry : FTasks)
        if (entry.Task->NeedsRestart())
            return true;
    return false;
}

bool TDownloadUpdatesDataModule::InstallFiles()
{
    ClearJournal();
    for (size_t k = 0; k < FTasks.size(); ++k) {
        TDownloadTask& task = *FTasks[k].Task;
        try {
            task.Install();
        } catch (const std::exception&) {
            WriteLog(
                QStringLiteral("  Tasks_InstallFiles[%1/%2]=FAIL").arg(k).arg(task.ClassName()));
            // The failing task may have done part of its work; the ones
            // after it were never started.
            for (size_t j = 0; j <= k; ++j)
                FTasks[j].Task->Rollback();
            ClearJournal();
            FStatus = TUpdateCheckStatus::Failed;
            return false;
        }
        WriteLog(QStringLiteral("  Tasks_InstallFiles[%1/%2]=OK").arg(k).arg(task.ClassName()));
    }
    MarkJournalComplete();
    FStatus = TUpdateCheckStatus::Updated;
    return true;
}

void TDownloadUpdatesDataModule::SaveDelayed()
{
    // Some keys per task: written one by one, each a flush to disk, they
    // were most of a check's time.
    FStore->WriteTogether([this] {
        QStringList names;
        for (size_t i = 0; i < FTasks.size(); ++i) {
            const QString name = QStringLiteral("%1.%2").arg(FTasks[i].Task->Command()).arg(i);
            FStore->WriteString(UpdatesSection, name, FTasks[i].Line);
            FTasks[i].Task->Save(name);
            names.append(name);
        }
        FStore->WriteString(UpdatesSection, KeyPending, names.join(u','));
    });
    FStatus = TUpdateCheckStatus::UpdatesPending;
}

QStringList TDownloadUpdatesDataModule::PendingNames() const
{
    QStringList names;
    for (const QString& name :
         FStore->ReadString(UpdatesSection, KeyPending, QString()).trimmed().split(u',')) {
        if (!name.trimmed().isEmpty())
            names.append(name.trimmed());
    }
    return names;
}

void TDownloadUpdatesDataModule::ReadDelayed()
{
    for (const QString& name : PendingNames()) {
        const QString line = FStore->ReadString(UpdatesSection, name, QString());
        const qsizetype dot = name.indexOf(u'.');
        if (dot < 0)
            continue;
        if (auto task = LoadSavedTask(name.left(dot).trimmed(), *this, name))
            FTasks.push_back({line, std::move(task)});
    }
}

void TDownloadUpdatesDataModule::CleanSaved()
{
    for (TDownloadTaskEntry& entry : FTasks)
        entry.Task->Commit();
    for (const QString& name : PendingNames()) {
        FStore->DeleteKey(UpdatesSection, name);
        FStore->EraseSection(name);
    }
    FStore->DeleteKey(UpdatesSection, KeyPending);
    FStore->DeleteKey(UpdatesSection, KeyInstallAttempts);
    ClearJournal();
}

void TDownloadUpdatesDataModule::ClearTasks()
{
    // First to last: each task deletes or keeps its files as it goes.
    for (TDownloadTaskEntry& entry : FTasks)
        entry.Task.reset();
    FTasks.clear();
}
