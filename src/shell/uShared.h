#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>

class QFile;

// Paths read from configuration or instruction files may be written the
// Windows way; a backslash is never part of a file name here.
QString NativeSeparators(const QString& path);

// Base configuration path from the "-i" switch, or the executable's path with
// ".ini". A relative path after "-i" is taken against the process's current
// directory at the time of the call, so that it names the same file however
// the program later changes directory. The overload takes the parameters
// (without the program name) and the executable's path so that it can be
// tested without a process.
QString GetConfigFileName();
QString GetConfigFileName(const QStringList& params, const QString& exePath);
// The suffix goes before the extension (the last "." after the last "/"), or
// at the end when the name has none: "a.ini" -> "a_AI.ini", "conf" -> "conf_AI".
QString GetConfigFileNameWithSuffix(const QString& suffix);
QString GetConfigFileNameWithSuffix(const QString& baseConfigPath, const QString& suffix);

// Version of the running executable (the project version compiled in); false
// for any other file, leaving the outputs unchanged.
bool GetFileVersionNumbers(const QString& path, quint16& major, quint16& minor, quint16& release,
                           quint16& build);

// A new empty file in the temporary folder, created exclusively with mode 0600.
// Raises EAppError with the system's text when it cannot be created.
QString CreateTempFileName();
// "00000000.ext", "00000001.ext", ... in the temporary folder: the first free
// name, created exclusively (0600) and returned open for reading and writing.
std::unique_ptr<QFile> CreateUniqueTempFile(const QString& extension, QString& path);

// Quote-aware words of a command string. Positions are 0-based indexes into
// the text.
QString ReadCommandWord(const QString& text, qsizetype& pos);
QString GetCommandWord(const QString& text, int n);
QString GetCommandTail(const QString& text, int n);

// Command-line switches among the parameters of this process (the program
// name excluded); the overloads take the parameters explicitly. The answer is
// the switch's 0-based index among those parameters (its value follows at
// index + 1), or -1.
int FindSwitchIndex(const QString& name, const QString& switchChars, bool ignoreCase);
int FindSwitchIndex(const QStringList& params, const QString& name, const QString& switchChars,
                    bool ignoreCase);
int FindSwitch(const QString& name);
int FindSwitch(const QStringList& params, const QString& name);

// The parameters of this process, without the program name.
QStringList CommandLineParams();

// 17-digit timestamps, year to millisecond, local time.
QDateTime StrToTimestamp(const QString& text, const QDateTime& defaultValue);
QString TimestampToStr(const QDateTime& value);

// Date placeholders %Y %M %D %H %N %S (any case) in a history file name.
QString ExpandArchiveName(const QString& pattern);
QString ExpandArchiveName(const QString& pattern, const QDateTime& now);

// Removes every leading and trailing path delimiter of a relative path (a
// history entry); with addTrailing one "/" ends a non-empty result. "\" counts
// as a delimiter and becomes "/".
QString NormalizeFolderPath(const QString& path, bool addTrailing);
// The same for an absolute base folder, which keeps its leading "/": a root is
// never cut off. Empty stays empty; "/" alone stays "/".
QString NormalizeBaseFolder(const QString& path);
QString CheckFileMask(const QString& value, const QString& fallback);

QString ExpandEscapes(const QString& text);
QString ConfiguredText(const QString& value, const QString& current);
QString ExpandStatusEscapes(const QString& text);
