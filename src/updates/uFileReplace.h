#pragma once

#include <QString>

// Whose permission bits a replaced file ends up with.
enum class TKeepMode { Target, Source };

// Gives target the content of source. The content goes to a new file in the
// target's own folder first, which is then renamed over the target: the
// switch is atomic, a crash never leaves half a file, and a running program
// can be replaced. The new file gets the target's permission bits (also the
// executable bit), or the source's when asked or when the target is missing.
// A symbolic link as target is followed. Raises EAppError with the system's
// text on failure, leaving the target as it was.
void ReplaceFileContent(const QString& source, const QString& target,
                        TKeepMode keepMode = TKeepMode::Target);

// Moves source to target, replacing it; between file systems by a copy with
// the source's permission bits and a delete. Raises EAppError on failure.
void MoveFileReplacing(const QString& source, const QString& target);
