#include "uSavedTask.h"

#include "uDownloadTaskFile.h"
#include "uDownloadTaskIni.h"

std::unique_ptr<TDownloadTask> LoadSavedTask(const QString& command, IDownloadTaskOwner& owner,
                                             const QString& section)
{
    const TSavedTask saved{section};
    const auto is = [&](const QString& word) {
        return command.compare(word, Qt::CaseInsensitive) == 0;
    };
    if (is(CmdSetVersion))
        return std::make_unique<TDownloadTaskSetVersion>(owner, saved);
    if (is(CmdFileDelete))
        return std::make_unique<TDownloadTaskFileDelete>(owner, saved);
    if (is(CmdRun))
        return std::make_unique<TDownloadTaskFileRun>(owner, saved);
    if (is(CmdFileUpdate))
        return std::make_unique<TDownloadTaskFileUpdate>(owner, saved);
    if (is(CmdIniUpdate))
        return std::make_unique<TDownloadTaskIniUpdate>(owner, saved);
    if (is(CmdIniDelete))
        return std::make_unique<TDownloadTaskIniDelete>(owner, saved);
    return nullptr;
}
