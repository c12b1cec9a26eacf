#include "uMailAddress.h"

TMailAddress TMailAddress::Parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = trimmed.indexOf(QLatin1Char('>'), open + 1);
    if (open < 0 || close < 0)
        return {QString(), trimmed};
    QString name = trimmed.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return {name, trimmed.mid(open + 1, close - open - 1).trimmed()};
}
