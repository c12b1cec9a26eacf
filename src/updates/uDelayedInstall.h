#pragma once

#include <QString>
#include <QStringList>

// The switches between the program and its installing copy; each is followed
// by one path.
extern const QString SwitchInstallDelayedUpdates; // "INSTALL_DELAYED_UPDATES"
extern const QString SwitchRemoveTempExe;         // "REMOVE_TEMP_EXE"

// How many times the installing copy has been started for the pending
// updates (section "Atnaujinimai" of the AI file); removed with the pending
// records. At the limit the pending updates are left to the running program,
// so an installation that keeps failing does not restart the program at
// every start.
extern const QString KeyInstallAttempts; // "Bandyta instaliuoti"
constexpr int MaxInstallAttempts = 3;

// "-i" and the configuration that belongs to the executable, quoted, so that
// the copy, which lives elsewhere, reads the same files; empty when the
// command line names the configuration itself ("-i" or "/i").
QString IniArgument(const QStringList& params, const QString& exePath);

// The command line of the installing copy: the switch, the main executable
// (quoted), the program's own command line and the IniArgument.
QString InstallCopyParams(const QString& exePath, const QStringList& params);
// The command line of the main executable started again by the copy: the
// switch, the copy's own path (quoted) and what followed the main
// executable's path on the copy's command line. switchIndex is the position
// of "INSTALL_DELAYED_UPDATES".
QString RelaunchParams(const QString& copyPath, const QStringList& params, int switchIndex);

// The private folder beside the executable where the installing copy runs:
// the temporary folder may be mounted without the right to run programs, the
// executable's folder is the user's own.
QString InstallCopyFolder(const QString& exePath);
// Copies the executable into that folder (created 0700, the copy 0700) under
// a new name and answers its path; raises EAppError when either cannot be
// made.
QString MakeInstallCopy(const QString& exePath);
// True for a file of that folder: only such a file is deleted on request.
bool IsInstallCopy(const QString& path, const QString& exePath);
