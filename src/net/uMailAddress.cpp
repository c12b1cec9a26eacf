#include "uMailAddress.h"

TMailAddress TMailAddress::Parse(const QString& text)
{
    // A line break typed or pasted into an address would let it add headers
    // or SMTP commands of its own; control characters never belong there.
    QString trimmed;
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            trimmed += c;
    trimmed = trimmed.trimmed();
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = trimmed.indexOf(QLatin1Char('>'), open + 1);
    if (open < 0 || close < 0)
        return {QString(), trimmed};
    QString name = trimmed.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return {name, trimmed.mid(open + 1, close - open - 1).trimmed()};
}
