#include "uCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr auto CodePageName = "windows-1257";

bool IsAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// A converter remembers a past error, so every conversion has its own.
QByteArray Encode(QStringView text, bool& failed)
{
    QStringEncoder encoder(CodePageName);
    QByteArray bytes = encoder.encode(text);
    failed = encoder.hasError();
    return bytes;
}

} // namespace

QByteArray ToCodePage(const QString& text)
{
    // Names and numbers are nearly always plain ASCII, which the code page
    // shares.
    if (IsAscii(text))
        return text.toLatin1();
    bool failed = false;
    QByteArray bytes = Encode(text, failed);
    if (!failed)
        return bytes;
    // The converter writes its own substitute for characters the code page
    // lacks; the program's files have always shown them as "?".
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray one = Encode(QStringView(text).mid(i, length), failed);
        bytes += failed ? QByteArray("?") : one;
        i += length;
    }
    return bytes;
}

QString FromCodePage(const QByteArray& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return QStringDecoder(CodePageName).decode(bytes);
    return QString::fromLatin1(bytes);
}

QByteArray CodePageUpperBytes(const QByteArray& bytes)
{
    QByteArray upper = bytes;
    for (char& c : upper) {
        const auto b = static_cast<unsigned char>(c);
        const bool asciiLower = b >= 'a' && b <= 'z';
        // Windows-1257: 0xE0-0xFE mirror 0xC0-0xDE (0xF7 is the division
        // sign); ø, ŗ and æ stand apart from the block.
        const bool baltic = b >= 0xE0 && b <= 0xFE && b != 0xF7;
        if (asciiLower || baltic)
            c = static_cast<char>(b - 0x20);
        else if (b == 0xB8 || b == 0xBA || b == 0xBF)
            c = static_cast<char>(b - 0x10);
    }
    return upper;
}

QByteArray CodePageUpper(const QString& text)
{
    return CodePageUpperBytes(ToCodePage(text));
}
