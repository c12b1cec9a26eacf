#pragma once

#include <QString>

#include <vector>

// The update host tried when no server is configured: an FTP server of the
// update service, reached with the client code as the login.
extern const QString DefaultUpdateHost;
constexpr int DefaultFtpPort = 21;

// One server to try for the update files. A proxy entry carries the proxy's
// address; no proxy protocol is spoken, so it connects exactly as a direct
// entry does and the proxy only shows in the log.
struct TServerSettings
{
    QString Host;
    int Port = DefaultFtpPort;
    QString UserName;
    QString Password;
    QString ProxyHost; // empty: a direct entry
    int ProxyPort = 0;

    bool operator==(const TServerSettings&) const = default;
};
using TServerList = std::vector<TServerSettings>;

struct TProxyAddress
{
    QString Host; // empty: no proxy
    int Port = 0;
};

// The setting "Proxy" as host[:port]: the port is 21 when it is missing or
// not a number.
TProxyAddress ParseProxyText(const QString& text);

// Appends the entries of a server text ("[user[:password]@]host[:port]",
// separated by ","): for each entry with a host, a proxy entry when there is
// a proxy, then always a direct one. With no usable entry the default host
// is appended, logged in with the client code: through the proxy when there
// is one, and directly only when the proxy text is empty.
void AppendServers(TServerList& list, const QString& servers, const QString& proxyText,
                   const TProxyAddress& proxy, const QString& client,
                   const QString& defaultHost = DefaultUpdateHost);

// The server text with each password replaced by "***", for the log: the
// line of the server that answered is the only one to show its password.
QString HidePasswords(const QString& servers);

// Moves the entry at index to the front, keeping the order of the others.
void MoveServerToFront(TServerList& list, int index);
