#pragma once

#include "uDownloadTask.h"

#include <QByteArray>
#include <QString>

// True when the line starts with the command word (ASCII letter case
// ignored) followed by one space or the end of the line; rest is then the
// remainder without the characters of code 0 to 32 at both ends.
bool IsCommandLine(const QString& line, const QString& word, QString& rest);

// The value of a variable of an instruction path: "ZUBEXEDIR" (any case) is
// the folder of the running executable, any other name the environment
// variable of that name; empty when not set.
QString LookupVariable(const QString& name);
// Replaces each %NAME% by LookupVariable(NAME); a "%" without a closing one
// stays with everything after it.
QString ExpandVariables(const QString& text);

// The lines of an instruction file: split at CR LF, LF and CR; a NUL ends the
// text. Decoded from Windows-1257.
QStringList InstructionLines(const QByteArray& text);

struct TInstructionsResult
{
    QString Redirect;       // the next instruction file to read, or empty
    bool NoUpdates = false; // the file said "NO-UPDATES"
};

// Turns each instruction line of the file into a task owned by owner and
// appends (line, task) to tasks, in line order. Lines it cannot use are
// ignored; it never fails. Parsing ends at the first "REDIRECT".
TInstructionsResult ParseInstructions(const QByteArray& text, IDownloadTaskOwner& owner,
                                      TDownloadTaskList& tasks);
