#pragma once

#include <QString>

enum TProxyProtocol { ppFtp, ppGopher, ppHttp, ppHttps };

// The proxy the user has set for Internet access, read anew at every
// question. Here it comes from the ftp_proxy, http_proxy, https_proxy and
// all_proxy environment variables (lower case first, then upper case).
class TProxySettingsReader
{
public:
    // The proxies in use as "ftp=host:port;http=host:port;https=host:port",
    // or "host:port" when all_proxy alone serves every protocol; empty when
    // no proxy is in use.
    QString GetProxyServer() const;

    // The part of such a text for the protocol: the text itself when it has
    // no "="; otherwise the protocol's entry, or the "http" entry when that is
    // empty.
    static QString GetProtocolEntry(const QString& text, TProxyProtocol protocol);

    QString GetProxyHost(TProxyProtocol protocol) const;
    // The number after the entry's ":" (0 when none follows), or the
    // protocol's default port when the entry has no ":".
    int GetProxyPort(TProxyProtocol protocol) const;
};

// A proxy variable's value as host[:port]: without the scheme, the login and
// any path.
QString ProxyHostPort(const QString& value);
