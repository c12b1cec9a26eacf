#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One sent file: when the message was built, and the file's full path.
struct THistoryEntry
{
    QString Time;
    QString Path;
};

// The date and time as the history file shows it: the short date and the
// long time of the user's locale.
QString HistoryTimeText(const QDateTime& when);

// The history file for a send finishing at `now`: the Lg base folder followed
// by the expanded pattern. Raises EAppError when that gives no folder to
// write in (an empty base folder and a pattern naming no absolute folder).
QString SentHistoryPath(const QString& lgBaseFolder, const QString& pattern, const QDateTime& now);

// "%-*s%-*s\r\n" with widths 20 and 256 in the Baltic code page; longer text
// is never cut.
QByteArray SentHistoryLine(const THistoryEntry& entry);

// Appends one line per entry, creating missing folders. Others may read the
// file meanwhile. Raises EAppError with the reason when it cannot.
void AppendSentHistory(const QString& path, const QList<THistoryEntry>& entries);
