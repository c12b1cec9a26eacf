#pragma once

#include <QByteArray>
#include <QString>

class QMutex;

// The path a write really changes: a symbolic link is followed to its target,
// so that replacing the file keeps the link. Also the key of FileWriteMutex.
QString ResolvedWritePath(const QString& path);

// One mutex per resolved path for the whole process, so that a read, change
// and write of a file by one thread is never interleaved with another's.
QMutex& FileWriteMutex(const QString& resolvedPath);

// Replaces the content of the file at once: a temporary file in the same
// folder is written, flushed to disk, given the target's permission bits and
// renamed over the target. A reader sees the old or the new content, never a
// part; a crash or a full disk leaves the old file. A target that exists but
// may not be written is refused. On failure answers false with the system's
// reason in errorText; the old file is untouched.
bool ReplaceFileContent(const QString& resolvedPath, const QByteArray& content,
                        QString* errorText = nullptr);
