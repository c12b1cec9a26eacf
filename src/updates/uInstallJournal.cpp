// The install journal: which tasks an installation has begun to change and
// what their rollback needs, kept in the AI file until the installation is
// either undone or cleaned up. Each entry is written before its task changes
// anything and every write replaces the file atomically, so a process killed
// at any point leaves a journal that tells the next start what to do.
#include "uDownloadUpdatesDataModule.h"
#include "uSavedTask.h"

#include <algorithm>

namespace {

const QString KeyJournal = QStringLiteral("Diegiama");
// Set once every task is installed: from then on the next start finishes the
// installation instead of undoing it.
const QString KeyJournalComplete = QStringLiteral("Idiegta");

} // namespace

void TDownloadUpdatesDataModule::BeforeChange(const TDownloadTask& task)
{
    const QString section = QStringLiteral("%1.%2").arg(KeyJournal).arg(FJournal.size());
    FStore->EraseSection(section); // what an entry cut short left behind
    task.WriteJournal(section);
    // The entry counts from here on.
    FJournal.append(section);
    FStore->WriteString(UpdatesSection, KeyJournal, FJournal.join(u','));
}

QStringList TDownloadUpdatesDataModule::JournalNames() const
{
    return FStore->ReadString(UpdatesSection, KeyJournal, QString())
        .split(u',', Qt::SkipEmptyParts);
}

void TDownloadUpdatesDataModule::MarkJournalComplete()
{
    FStore->WriteString(UpdatesSection, KeyJournalComplete, QStringLiteral("T"));
}

void TDownloadUpdatesDataModule::ClearJournal()
{
    // The list goes last, so that a kill leaves nothing unlisted behind. The
    // journal is cleared only after its changes were undone or cleaned up:
    // undoing an entry again, or none, changes nothing.
    const QStringList names = JournalNames();
    for (const QString& name : names)
        FStore->EraseSection(name);
    // One more, which an entry cut short may have begun.
    FStore->EraseSection(QStringLiteral("%1.%2").arg(KeyJournal).arg(names.size()));
    FStore->DeleteKey(UpdatesSection, KeyJournalComplete);
    FStore->DeleteKey(UpdatesSection, KeyJournal);
    FJournal.clear();
}

void TDownloadUpdatesDataModule::RecoverInterruptedInstall()
{
    const QStringList names = JournalNames();
    const bool complete =
        !FStore->ReadString(UpdatesSection, KeyJournalComplete, QString()).isEmpty();
    if (names.isEmpty() && !complete)
        return;
    WriteLog(QStringLiteral("ApplicationStartup InterruptedInstall=%1 Complete=%2")
                 .arg(names.size())
                 .arg(complete ? QStringLiteral("True") : QStringLiteral("False")));
    std::vector<std::unique_ptr<TDownloadTask>> begun;
    for (const QString& name : names) {
        const QString command = FStore->ReadString(name, QStringLiteral("Command"), QString());
        if (auto task = LoadSavedTask(command, *this, name)) {
            task->ReadJournal(TSavedTask{name});
            begun.push_back(std::move(task));
        }
    }
    if (complete) {
        // Only the clean-up was missing: the pending records (if any) go,
        // with their downloaded files and the backups.
        ReadDelayed();
        CleanSaved();
        ClearTasks();
    } else {
        // Last first, so that two tasks changing the same thing end with
        // the state before both.
        std::for_each(begun.rbegin(), begun.rend(), [](const auto& task) { task->Rollback(); });
        ClearJournal();
    }
    // Destroying the tasks removes the backups that are no longer needed.
}
