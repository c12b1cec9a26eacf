#include "uDownloadTask.h"

#include "uDownloadExceptions.h"

TDownloadTask::TDownloadTask(IDownloadTaskOwner& owner, const QString& command)
    : FOwner(owner), FCommand(command)
{}

TDownloadTask::TDownloadTask(IDownloadTaskOwner& owner, const TSavedTask& saved) : FOwner(owner)
{
    FCommand = ReadSaved(saved, QStringLiteral("Command"));
}

TDownloadTask::~TDownloadTask() = default;

void TDownloadTask::Save(const QString& section)
{
    WriteCommand(section);
}

void TDownloadTask::WriteJournal(const QString& section) const
{
    WriteCommand(section);
}

void TDownloadTask::WriteCommand(const QString& section) const
{
    Store()->WriteString(section, QStringLiteral("Command"), FCommand);
}

std::shared_ptr<IDownloadTaskStore> TDownloadTask::Store() const
{
    auto store = FOwner.Store();
    if (!store)
        throw EDownloadUpdatesException(QStringLiteral("Atnaujinimų modulis neinicializuotas"));
    return store;
}

QString TDownloadTask::ReadSaved(const TSavedTask& saved, const QString& key) const
{
    return Store()->ReadString(saved.Section, key, QString());
}
