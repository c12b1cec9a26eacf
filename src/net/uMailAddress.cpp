#include "uMailAddress.h"

#include "uMailError.h"

namespace {

bool IsControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

// The text with its control characters made visible, for the error message.
QString Shown(const QString& text)
{
    QString shown;
    for (const QChar c : text)
        shown += IsControl(c) ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                              : QString(c);
    return shown;
}

[[noreturn]] void Refuse(const QString& text)
{
    throw EMailError(QStringLiteral("Netinkamas el. pašto adresas „%1“: jame negali būti eilutės "
                                    "pabaigos ar kitų valdymo ženklų, o pačiame adrese – ženklų "
                                    "„<“ ir „>“.")
                         .arg(Shown(text)));
}

} // namespace

TMailAddress TMailAddress::Parse(const QString& text)
{
    // Stripping such characters instead would still let the text choose
    // another recipient ("a@b.lt>\r\nRCPT TO:<c@d.lt" would become c@d.lt).
    for (const QChar c : text)
        if (IsControl(c))
            Refuse(text);
    const QString trimmed = text.trimmed();
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = trimmed.indexOf(QLatin1Char('>'), open + 1);
    TMailAddress parsed;
    if (open < 0 || close < 0) {
        parsed.Address = trimmed;
    } else {
        QString name = trimmed.left(open).trimmed();
        if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) &&
            name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2);
        parsed = {name, trimmed.mid(open + 1, close - open - 1).trimmed()};
    }
    if (parsed.Address.contains(QLatin1Char('<')) || parsed.Address.contains(QLatin1Char('>')))
        Refuse(text);
    return parsed;
}
