#pragma once

#include <QString>

class QIODevice;

// MD5 of the whole stream from its start, as 32 upper-case hexadecimal
// digits. The stream's position is restored; a read failure raises EAppError.
QString Md5Hex(QIODevice& stream);

// Compares the stream's digest with md5 exactly, letter case included, and
// raises EDownloadFileException "Download of file '<name>' failed" when they
// differ. Only upper-case digits can ever match.
void CheckMd5(QIODevice& stream, const QString& md5, const QString& name);
