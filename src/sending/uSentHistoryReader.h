#pragma once

#include <QString>
#include <QStringList>

// A sent-files history file: its extension is ".zbx" in any letter case.
bool IsSentHistoryFile(const QString& path);

// The file paths a history file records, one per line: the path column
// (from the 21st character to the end of the line), trimmed. Raises EAppError when the file cannot
// be read.
QStringList ReadSentHistory(const QString& path);
