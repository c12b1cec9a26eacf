#include "uMimeMessage.h"

#include "uMailError.h"
#include "uMimeEncoding.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QTimeZone>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MimeEncoding;

namespace {

// Whole base64 lines: 57 bytes make one line of 76 characters.
constexpr qint64 ChunkBytes = 57 * 4096;

QByteArray RandomHex(int bytes)
{
    QByteArray raw(bytes, Qt::Uninitialized);
    for (char& c : raw)
        c = char(QRandomGenerator::global()->bounded(256));
    return raw.toHex();
}

QByteArray DateHeader(const QDateTime& date)
{
    const int offset = date.offsetFromUtc() / 60;
    const QString zone = QString::asprintf("%c%02d%02d", offset < 0 ? '-' : '+', qAbs(offset) / 60,
                                           qAbs(offset) % 60);
    return QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss ")).toLatin1() +
           zone.toLatin1();
}

} // namespace

TMimeMessage::TMimeMessage()
    : FDate(QDateTime::currentDateTime()), FBoundary("=_kelmira_" + RandomHex(12)),
      FMessageId(RandomHex(16))
{}

TMimeMessage::~TMimeMessage() = default;

void TMimeMessage::AddAttachment(const QString& path)
{
    const auto refuse = [&path](const QString& reason) {
        throw EMailError(QStringLiteral("%1: %2").arg(path, reason));
    };
    // Opened without waiting: a FIFO put in place of a form would otherwise
    // block the open for good. Only a regular file is read, never a FIFO or
    // a device that never ends.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        refuse(QString::fromLocal8Bit(strerror(errno)));
    struct stat info = {};
    const bool statted = ::fstat(fd, &info) == 0;
    const int statError = errno;
    if (!statted || !S_ISREG(info.st_mode)) {
        ::close(fd);
        refuse(!statted                ? QString::fromLocal8Bit(strerror(statError))
               : S_ISDIR(info.st_mode) ? QString::fromLocal8Bit(strerror(EISDIR))
                                       : QStringLiteral("tai ne įprasta byla"));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        refuse(file->errorString());
    }
    // Kept until the message is freed: writers that lock the file wait.
    if (flock(fd, LOCK_SH | LOCK_NB) != 0)
        refuse(QString::fromLocal8Bit(strerror(errno)));
    FAttachments.push_back(
        {QFileInfo(path).fileName(), path, std::move(file), qint64(info.st_size)});
}

QList<TMailAddress> TMimeMessage::Recipients() const
{
    return QList<TMailAddress>{FTo} + FBcc;
}

QByteArray TMimeMessage::Headers() const
{
    const qsizetype at = FFrom.Address.lastIndexOf(QLatin1Char('@'));
    const QByteArray domain = at >= 0 ? FFrom.Address.mid(at + 1).toUtf8() : "kelmira";
    return "Date: " + DateHeader(FDate) + "\r\n" + "From: " + AddressHeader(FFrom) + "\r\n" +
           "To: " + AddressHeader(FTo) + "\r\n" + "Subject: " + HeaderText(FSubject) + "\r\n" +
           "Message-ID: <" + FMessageId + '@' + domain + ">\r\n" + "MIME-Version: 1.0\r\n" +
           "Content-Type: multipart/mixed;\r\n boundary=\"" + FBoundary + "\"\r\n\r\n";
}

QList<TMimeMessage::TPiece> TMimeMessage::Pieces() const
{
    const QByteArray delimiter = "--" + FBoundary + "\r\n";
    const QByteArray body = Base64Lines(FBody.join(QStringLiteral("\r\n")).toUtf8());
    QList<TPiece> pieces;
    pieces.append({Headers() + delimiter +
                   "Content-Type: text/plain; charset=UTF-8\r\n"
                   "Content-Transfer-Encoding: base64\r\n\r\n" +
                   body});
    bool ended = !body.isEmpty(); // the last piece ended with a line break
    for (int i = 0; i < int(FAttachments.size()); ++i) {
        const TAttachment& attachment = FAttachments[size_t(i)];
        pieces.append({QByteArray(ended ? "" : "\r\n") + delimiter +
                       "Content-Type: application/octet-stream;\r\n " +
                       NameParameter(attachment.Name) +
                       "\r\nContent-Transfer-Encoding: base64\r\n"
                       "Content-Disposition: attachment;\r\n " +
                       FileNameParameter(attachment.Name) + "\r\n\r\n"});
        pieces.append({QByteArray(), i});
        ended = attachment.Size > 0;
    }
    pieces.append({QByteArray(ended ? "" : "\r\n") + "--" + FBoundary + "--\r\n"});
    return pieces;
}

qint64 TMimeMessage::Size() const
{
    qint64 size = 0;
    for (const TPiece& piece : Pieces())
        size += piece.Attachment < 0 ? piece.Text.size()
                                     : Base64LinesSize(FAttachments[size_t(piece.Attachment)].Size);
    return size;
}

void TMimeMessage::Rewind()
{
    FPieces = Pieces();
    FPiece = 0;
    FOffset = 0;
    FFileRead = 0;
    FEncoded.clear();
    FReadError.clear();
    for (const TAttachment& attachment : FAttachments)
        attachment.File->seek(0);
}

bool TMimeMessage::FillEncoded(const TAttachment& attachment)
{
    const qint64 want = qMin(ChunkBytes, attachment.Size - FFileRead);
    QByteArray raw(want, Qt::Uninitialized);
    qint64 got = 0;
    while (got < want) {
        const qint64 n = attachment.File->read(raw.data() + got, want - got);
        if (n <= 0)
            break;
        got += n;
    }
    if (got != want) {
        FReadError = QStringLiteral("%1: %2").arg(
            attachment.Path, got < 0 || attachment.File->error() != QFileDevice::NoError
                                 ? attachment.File->errorString()
                                 : QStringLiteral("byla pasikeitė siunčiant"));
        return false;
    }
    FFileRead += got;
    FEncoded = Base64Lines(raw);
    FOffset = 0;
    return true;
}

qint64 TMimeMessage::Read(char* buffer, qint64 maxSize)
{
    qint64 filled = 0;
    while (filled < maxSize && FPiece < FPieces.size()) {
        const TPiece& piece = FPieces[FPiece];
        const QByteArray* source = &piece.Text;
        if (piece.Attachment >= 0) {
            const TAttachment& attachment = FAttachments[size_t(piece.Attachment)];
            if (FOffset == FEncoded.size()) {
                if (FFileRead == attachment.Size) {
                    ++FPiece;
                    FOffset = 0;
                    FFileRead = 0;
                    FEncoded.clear();
                    continue;
                }
                if (!FillEncoded(attachment))
                    return -1;
            }
            source = &FEncoded;
        } else if (FOffset == piece.Text.size()) {
            ++FPiece;
            FOffset = 0;
            continue;
        }
        const qint64 n = qMin(maxSize - filled, qint64(source->size()) - FOffset);
        memcpy(buffer + filled, source->constData() + FOffset, size_t(n));
        filled += n;
        FOffset += n;
    }
    return filled;
}
