#include "uMimeEncoding.h"

#include <QList>

namespace MimeEncoding {

namespace {

constexpr qsizetype LineChars = 76;
// 36 bytes make an encoded-word of 60 characters, so that a header name and
// the word still fit a line of 78.
constexpr qsizetype WordBytes = 36;

bool IsPlainText(const QString& text)
{
    if (text.isEmpty())
        return true;
    if (text.front().isSpace() || text.back().isSpace() || text.contains(QLatin1String("=?")) ||
        text.size() > 900)
        return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

// Splits UTF-8 into pieces of at most `limit` bytes without cutting a letter.
QList<QByteArray> Utf8Pieces(const QByteArray& utf8, qsizetype limit)
{
    QList<QByteArray> pieces;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = qMin(start + limit, utf8.size());
        while (end < utf8.size() && end > start && (uchar(utf8[end]) & 0xc0) == 0x80)
            --end;
        pieces.append(utf8.mid(start, end - start));
        start = end;
    }
    return pieces;
}

QList<QByteArray> EncodedWords(const QString& text)
{
    QList<QByteArray> words;
    for (const QByteArray& piece : Utf8Pieces(text.toUtf8(), WordBytes))
        words.append("=?UTF-8?B?" + piece.toBase64() + "?=");
    return words;
}

QByteArray Quoted(const QString& text)
{
    QByteArray result = text.toLatin1();
    result.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + result + '"';
}

bool IsAtomText(const QString& text)
{
    for (const QChar c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) &&
            !QLatin1String(" !#$%&'*+-/=?^_`{|}~").contains(c))
            return false;
    return true;
}

} // namespace

QByteArray HeaderText(const QString& text)
{
    if (IsPlainText(text))
        return text.toLatin1();
    return EncodedWords(text).join("\r\n ");
}

QByteArray AddressHeader(const TMailAddress& address)
{
    QByteArray addr = address.Address.toUtf8();
    if (address.Name.isEmpty())
        return addr;
    QByteArray name;
    if (!IsPlainText(address.Name))
        name = EncodedWords(address.Name).join("\r\n ");
    else if (IsAtomText(address.Name))
        name = address.Name.toLatin1();
    else
        name = Quoted(address.Name);
    return name + " <" + addr + '>';
}

QByteArray NameParameter(const QString& fileName)
{
    if (IsPlainText(fileName))
        return "name=" + Quoted(fileName);
    return "name=\"" + EncodedWords(fileName).join("\r\n ") + '"';
}

QByteArray FileNameParameter(const QString& fileName)
{
    if (IsPlainText(fileName))
        return "filename=" + Quoted(fileName);
    // Percent-encoded pieces short enough to keep every line under 78
    // characters; a letter is never split between two pieces.
    QList<QByteArray> pieces;
    for (const QByteArray& piece : Utf8Pieces(fileName.toUtf8(), 15))
        pieces.append(piece.toPercentEncoding());
    if (pieces.size() == 1)
        return "filename*=UTF-8''" + pieces.front();
    QByteArray result;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            result += ";\r\n ";
        result +=
            "filename*" + QByteArray::number(i) + "*=" + (i == 0 ? "UTF-8''" : "") + pieces[i];
    }
    return result;
}

QByteArray Base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray result;
    result.reserve(Base64LinesSize(data.size()));
    for (qsizetype at = 0; at < encoded.size(); at += LineChars) {
        result.append(encoded.constData() + at, qMin(LineChars, encoded.size() - at));
        result.append("\r\n", 2);
    }
    return result;
}

qint64 Base64LinesSize(qint64 bytes)
{
    const qint64 chars = (bytes + 2) / 3 * 4;
    return chars + 2 * ((chars + LineChars - 1) / LineChars);
}

} // namespace MimeEncoding
