#include "uCodePage.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <utility>

namespace {

constexpr auto CodePageName = "windows-1257";

bool IsAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// What one character (a surrogate pair counts as one) becomes. A converter
// remembers a past error, so every conversion has its own. The converter
// writes its own substitute for characters the code page lacks; the
// program's files have always shown them as "?".
QByteArray EncodeOne(QStringView character)
{
    QStringEncoder encoder(CodePageName);
    QByteArray bytes = encoder.encode(character);
    // A lone high surrogate gives nothing: the converter waits for its pair.
    return encoder.hasError() || bytes.isEmpty() ? QByteArray("?") : bytes;
}

} // namespace

QByteArray ToCodePage(const QString& text)
{
    // Names and numbers are nearly always plain ASCII, which the code page
    // shares.
    if (IsAscii(text))
        return text.toLatin1();
    // Opening a converter costs more than converting a name, and sorting a
    // large folder converted thousands: each character's bytes are kept
    // once found, per thread.
    thread_local QHash<char32_t, QByteArray> known;
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            bytes += static_cast<char>(c.unicode());
            ++i;
            continue;
        }
        // A lone high surrogate is a character of its own, not the start of
        // a pair with whatever follows.
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const char32_t key = pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : c.unicode();
        auto found = known.constFind(key);
        if (found == known.cend())
            found = known.insert(key, EncodeOne(QStringView(text).mid(i, pair ? 2 : 1)));
        bytes += *found;
        i += pair ? 2 : 1;
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

QByteArray CodePageUpperBytes(QByteArray bytes)
{
    QByteArray upper = std::move(bytes);
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
