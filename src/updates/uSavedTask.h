#pragma once

#include "uDownloadTask.h"

// Re-creates a task saved for a later start from its section, by its command
// word (letter case ignored). An unknown command gives nullptr.
std::unique_ptr<TDownloadTask> LoadSavedTask(const QString& command, IDownloadTaskOwner& owner,
                                             const QString& section);
