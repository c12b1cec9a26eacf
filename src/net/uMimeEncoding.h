#pragma once

#include "uMailAddress.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The encodings a message needs so that any mail client shows Lithuanian
// letters: RFC 2047 encoded-words (UTF-8, base64) for header text, RFC 2231
// parameters for file names, and base64 bodies in lines of 76 characters.
namespace MimeEncoding {

// Header text as it may stand on the wire: the text itself when it is plain
// printable ASCII, otherwise encoded-words of at most 75 characters, folded.
QByteArray HeaderText(const QString& text);

// "Name <address>" for From/To, with the name quoted or encoded as needed.
QByteArray AddressHeader(const TMailAddress& address);

// Parameters naming an attachment: `name=...` for Content-Type (RFC 2047
// inside quotes, which older clients read) and `filename...` for
// Content-Disposition (RFC 2231, continued over several lines when long).
QByteArray NameParameter(const QString& fileName);
QByteArray FileNameParameter(const QString& fileName);

// Base64 in CRLF-terminated lines of 76 characters, and its exact length for
// a given number of input bytes.
QByteArray Base64Lines(const QByteArray& data);
qint64 Base64LinesSize(qint64 bytes);

} // namespace MimeEncoding
