#pragma once

#include "uDownloadTaskOwner.h"

#include <QString>

#include <memory>
#include <vector>

// The command words of the instruction file, as tasks name themselves.
inline const QString CmdSetVersion = QStringLiteral("SET-VERSION");
inline const QString CmdFileDelete = QStringLiteral("FILE-DELETE");
inline const QString CmdRun = QStringLiteral("RUN");
inline const QString CmdFileUpdate = QStringLiteral("FILE-UPDATE");
inline const QString CmdIniUpdate = QStringLiteral("INI-UPDATE");
inline const QString CmdIniDelete = QStringLiteral("INI-DELETE");

// Names the saved section a task is loaded from (the task classes' second
// kind of constructor).
struct TSavedTask
{
    QString Section;
};

// One change an update asks for. The engine drives every task through
// Download, IsReady and NeedsRestart, then Install and Commit (with Rollback
// of the started ones when an installation fails), or Save for a later start,
// where the task is loaded again from its section.
class TDownloadTask
{
public:
    TDownloadTask(IDownloadTaskOwner& owner, const QString& command);
    TDownloadTask(IDownloadTaskOwner& owner, const TSavedTask& saved);
    virtual ~TDownloadTask();
    TDownloadTask(const TDownloadTask&) = delete;
    TDownloadTask& operator=(const TDownloadTask&) = delete;

    // The class name the update log shows.
    virtual QString ClassName() const = 0;

    // True when the task can only be installed while no instance of the
    // program uses the files it changes.
    virtual bool NeedsRestart() const { return false; }
    // True when everything the task needs is present and verified. Never
    // raises.
    virtual bool IsReady() const { return true; }
    virtual void Download() {}
    virtual void Install() {}
    // Undoes what Install did; meant only for a task whose Install started.
    virtual void Rollback() {}
    // Writes the task into the section, "Command" first.
    virtual void Save(const QString& section);
    // Marks the task's working files for removal after a good installation.
    virtual void Commit() {}
    // Writes into a section of the install journal what Rollback needs,
    // "Command" first; ReadJournal takes it back into a task loaded from that
    // section, judging from the files how far Install got.
    virtual void WriteJournal(const QString& section) const;
    virtual void ReadJournal(const TSavedTask& /*saved*/) {}

    IDownloadTaskOwner& Owner() const { return FOwner; }
    const QString& Command() const { return FCommand; }

protected:
    // The owner's store; raises EDownloadUpdatesException when it has none.
    std::shared_ptr<IDownloadTaskStore> Store() const;
    QString ReadSaved(const TSavedTask& saved, const QString& key) const;

private:
    void WriteCommand(const QString& section) const;

    IDownloadTaskOwner& FOwner;
    QString FCommand;
};

// One entry of the engine's task list: the instruction line as read, and the
// task made of it.
struct TDownloadTaskEntry
{
    QString Line;
    std::unique_ptr<TDownloadTask> Task;
};
using TDownloadTaskList = std::vector<TDownloadTaskEntry>;
