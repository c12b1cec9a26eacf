#include "uProxySettings.h"

#include <QStringList>

namespace {

struct TProtocolInfo
{
    const char* Entry;
    int DefaultPort;
};

constexpr TProtocolInfo Protocols[] = {{"ftp", 21}, {"gopher", 70}, {"http", 80}, {"https", 443}};

QString ProxyVariable(const char* lowerName)
{
    QString value = qEnvironmentVariable(lowerName).trimmed();
    if (value.isEmpty())
        value = qEnvironmentVariable(QByteArray(lowerName).toUpper().constData()).trimmed();
    return ProxyHostPort(value);
}

QString EntryValue(const QString& text, const char* name)
{
    for (const QString& entry : text.split(QLatin1Char(';'))) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals >= 0 &&
            entry.left(equals).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return entry.mid(equals + 1);
    }
    return QString();
}

} // namespace

QString ProxyHostPort(const QString& value)
{
    QString result = value.trimmed();
    const qsizetype scheme = result.indexOf(QLatin1String("://"));
    if (scheme >= 0)
        result.remove(0, scheme + 3);
    const qsizetype slash = result.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        result.truncate(slash);
    const qsizetype at = result.lastIndexOf(QLatin1Char('@'));
    if (at >= 0)
        result.remove(0, at + 1);
    return result;
}

QString TProxySettingsReader::GetProxyServer() const
{
    QString all = ProxyVariable("all_proxy");
    const QString own[] = {ProxyVariable("ftp_proxy"), ProxyVariable("http_proxy"),
                           ProxyVariable("https_proxy")};
    if (own[0].isEmpty() && own[1].isEmpty() && own[2].isEmpty())
        return all;
    const char* names[] = {"ftp", "http", "https"};
    QStringList entries;
    for (int i = 0; i < 3; ++i) {
        const QString& value = own[i].isEmpty() ? all : own[i];
        if (!value.isEmpty())
            entries.append(QLatin1String(names[i]) + QLatin1Char('=') + value);
    }
    return entries.join(QLatin1Char(';'));
}

QString TProxySettingsReader::GetProtocolEntry(const QString& text, TProxyProtocol protocol)
{
    if (!text.contains(QLatin1Char('=')))
        return text;
    const QString value = EntryValue(text, Protocols[protocol].Entry);
    return value.isEmpty() ? EntryValue(text, "http") : value;
}

QString TProxySettingsReader::GetProxyHost(TProxyProtocol protocol) const
{
    const QString entry = GetProtocolEntry(GetProxyServer(), protocol);
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    return colon < 0 ? entry : entry.left(colon);
}

int TProxySettingsReader::GetProxyPort(TProxyProtocol protocol) const
{
    const QString entry = GetProtocolEntry(GetProxyServer(), protocol);
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return Protocols[protocol].DefaultPort;
    // The number at the start of the text after the colon; no number gives 0.
    const QString text = entry.mid(colon + 1).trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text.at(end) == QLatin1Char('-') || text.at(end) == QLatin1Char('+')))
        ++end;
    while (end < text.size() && text.at(end).isDigit() && end < 10)
        ++end;
    return text.left(end).toInt();
}
