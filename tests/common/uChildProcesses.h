#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

// Following the programs that a test's program starts detached: the test
// makes itself their subreaper, finds them by their command line and ends
// them by their id.
bool BecomeSubreaper();
QStringList CommandLineOf(pid_t pid);
// A process that runs exe with firstParam as its first parameter; 0 if none.
pid_t FindProgram(const QString& exe, const QString& firstParam);
// True once the process handles SIGTERM, so that the signal is not fatal.
bool CatchesSigterm(pid_t pid);
// Running: neither gone nor ended and waiting to be collected.
bool IsRunning(pid_t pid);
// Collects the ended descendants, so that none stays a zombie.
void ReapEnded();
