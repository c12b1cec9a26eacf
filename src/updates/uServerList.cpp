#include "uServerList.h"

#include <QStringList>

const QString DefaultUpdateHost = QStringLiteral("ftp.kelmira.lt");

namespace {

int PortOrDefault(const QString& text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok ? port : DefaultFtpPort;
}

// "before<sep>after" at the first separator; without one, all is before.
void SplitAtFirst(const QString& text, QChar separator, QString& before, QString& after)
{
    const qsizetype pos = text.indexOf(separator);
    before = (pos < 0 ? text : text.left(pos)).trimmed();
    after = pos < 0 ? QString() : text.mid(pos + 1).trimmed();
}

} // namespace

TProxyAddress ParseProxyText(const QString& text)
{
    TProxyAddress proxy;
    QString port;
    SplitAtFirst(text, u':', proxy.Host, port);
    proxy.Port = PortOrDefault(port);
    return proxy;
}

QString HidePasswords(const QString& servers)
{
    QStringList items = servers.split(u',');
    for (QString& item : items) {
        const qsizetype at = item.indexOf(u'@');
        const qsizetype colon = at < 0 ? -1 : item.left(at).indexOf(u':');
        if (colon >= 0)
            item.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
    }
    return items.join(u',');
}

void AppendServers(TServerList& list, const QString& servers, const QString& proxyText,
                   const TProxyAddress& proxy, const QString& client, const QString& defaultHost)
{
    const auto appendProxied = [&](const TServerSettings& entry) {
        if (proxy.Host.isEmpty())
            return;
        TServerSettings proxied = entry;
        proxied.ProxyHost = proxy.Host;
        proxied.ProxyPort = proxy.Port;
        list.push_back(proxied);
    };

    bool appended = false;
    for (const QString& item : servers.split(u',')) {
        TServerSettings entry;
        QString login;
        QString address;
        if (item.contains(u'@'))
            SplitAtFirst(item, u'@', login, address);
        else
            address = item.trimmed();
        SplitAtFirst(login, u':', entry.UserName, entry.Password);
        QString port;
        SplitAtFirst(address, u':', entry.Host, port);
        if (entry.Host.isEmpty())
            continue;
        entry.Port = port.isEmpty() ? DefaultFtpPort : PortOrDefault(port);
        appendProxied(entry);
        list.push_back(entry);
        appended = true;
    }
    if (appended)
        return;

    const TServerSettings fallback{defaultHost, DefaultFtpPort, client, client, QString(), 0};
    appendProxied(fallback);
    // A configured proxy is the only way out; the default host is tried
    // directly only when nothing says otherwise.
    if (proxyText.isEmpty())
        list.push_back(fallback);
}

void MoveServerToFront(TServerList& list, int index)
{
    if (index <= 0 || index >= static_cast<int>(list.size()))
        return;
    TServerSettings entry = list[static_cast<size_t>(index)];
    list.erase(list.begin() + index);
    list.insert(list.begin(), entry);
}
