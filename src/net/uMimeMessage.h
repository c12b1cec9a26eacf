#pragma once

#include "uMailAddress.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QFile;

// A mail message with file attachments, written out as MIME on demand.
// Attachment files are opened (with a shared lock, so that writers who lock
// are kept out) when they are added and streamed from there as the message is
// read, so a large file is never held in memory. The exact size of the whole
// message is known before the first byte is read.
class TMimeMessage
{
public:
    TMimeMessage();
    ~TMimeMessage();
    TMimeMessage(const TMimeMessage&) = delete;
    TMimeMessage& operator=(const TMimeMessage&) = delete;

    void SetFrom(const QString& text) { FFrom = TMailAddress::Parse(text); }
    void SetTo(const QString& text) { FTo = TMailAddress::Parse(text); }
    // Blind copies go into the envelope only, never into a header.
    void AddBcc(const QString& text) { FBcc.append(TMailAddress::Parse(text)); }
    void SetSubject(const QString& subject) { FSubject = subject; }
    void SetBody(const QStringList& lines) { FBody = lines; }
    void SetDate(const QDateTime& date) { FDate = date; }

    // Opens the file now; raises EMailError with the system's reason when it
    // cannot be opened for reading, is no regular file, or another program
    // holds a write lock.
    void AddAttachment(const QString& path);

    const TMailAddress& From() const { return FFrom; }
    QList<TMailAddress> Recipients() const;

    qint64 Size() const;

    // Streams the message from its first byte. Read answers the bytes put
    // into `buffer` (0 at the end) or -1 when an attachment could not be read
    // as it was when added; ReadError says why.
    void Rewind();
    qint64 Read(char* buffer, qint64 maxSize);
    const QString& ReadError() const { return FReadError; }

private:
    struct TAttachment
    {
        QString Name;
        QString Path;
        std::unique_ptr<QFile> File;
        qint64 Size = 0;
    };
    // The message is a row of pieces: literal text, or an attachment's
    // base64 lines (Attachment >= 0).
    struct TPiece
    {
        QByteArray Text;
        int Attachment = -1;
    };

    QList<TPiece> Pieces() const;
    QByteArray Headers() const;
    bool FillEncoded(const TAttachment& attachment);

    TMailAddress FFrom, FTo;
    QList<TMailAddress> FBcc;
    QString FSubject;
    QStringList FBody;
    QDateTime FDate;
    QByteArray FBoundary;
    QByteArray FMessageId;
    std::vector<TAttachment> FAttachments;

    // Reading state.
    QList<TPiece> FPieces;
    qsizetype FPiece = 0;
    qint64 FOffset = 0; // within the piece's text or FEncoded
    qint64 FFileRead = 0;
    QByteArray FEncoded;
    QString FReadError;
};
