#pragma once

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QString>

#include <memory>
#include <mutex>

class IDownloadTaskStore;

// The update log's file: the base configuration path with ".log" in place of
// its extension.
QString UpdateLogFileName(const QString& baseConfigPath);

// "Log" switches the log on when the first character of the trimmed value is
// "Y", "1" or "T" (upper case only).
bool LogEnabledValue(const QString& value);

// The time stamp of a log line: the locale's short date, a blank and its long
// time; at exactly midnight (to the second) the date alone.
QString LogTimestamp(const QDateTime& when, const QLocale& locale = QLocale());

// The plain text log of the update engine, written from the GUI thread and
// the download thread. Off unless "Log" says otherwise; decided once, at the
// first line of the process.
class TUpdateLog
{
public:
    explicit TUpdateLog(const QString& fileName);

    // Appends "<time stamp> <message>\r\n" in Windows-1257 and flushes it at
    // once; lines of two threads never mix. Never raises: a log that cannot be
    // opened stays silent for the rest of the process. The first call reads
    // "Log" through store; without a store the log stays off.
    void WriteLog(const IDownloadTaskStore* store, const QString& message);

private:
    enum class TLogMode { Undecided, On, Off };

    std::mutex FLock;
    QString FFileName;
    TLogMode FLogMode = TLogMode::Undecided;
    std::unique_ptr<QFile> FLogFile;
};
