// The "Serveriai" and "Proxy" settings: any texts give a server list whose
// entries keep the promised shape and order.

#include "uFuzzSupport.h"
#include "uServerList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString proxyText = NextText(input);
    const QString client = NextText(input);
    const int front = input.ConsumeIntegralInRange<int>(-2, 40);
    const QString servers = RestText(input);

    const TProxyAddress proxy = ParseProxyText(proxyText);
    Expect(proxy.Host == proxy.Host.trimmed() && !proxy.Host.contains(u':'),
           "a proxy host with blanks or a port");

    TServerList list;
    AppendServers(list, servers, proxyText, proxy, client);
    for (size_t i = 0; i < list.size(); ++i) {
        const TServerSettings& entry = list[i];
        Expect(!entry.Host.isEmpty() && entry.Host == entry.Host.trimmed(), "a bad host");
        if (entry.ProxyHost.isEmpty())
            continue;
        Expect(entry.ProxyHost == proxy.Host && entry.ProxyPort == proxy.Port, "another proxy");
        // A proxied entry of the text is followed by the same server direct;
        // only the default host may go through the proxy alone.
        TServerSettings direct = entry;
        direct.ProxyHost.clear();
        direct.ProxyPort = 0;
        Expect((i + 1 < list.size() && list[i + 1] == direct) || entry.Host == DefaultUpdateHost,
               "a proxied entry without its direct one");
    }
    Expect(!list.empty() || !proxyText.isEmpty(), "no server without a proxy");

    const TServerList before = list;
    MoveServerToFront(list, front);
    Expect(list.size() == before.size(), "moving changed the list's size");
    if (front > 0 && size_t(front) < before.size()) {
        Expect(list.front() == before[size_t(front)], "the wrong entry in front");
        TServerList rest(list.begin() + 1, list.end());
        TServerList expected = before;
        expected.erase(expected.begin() + front);
        Expect(rest == expected, "moving changed the order of the others");
    } else {
        Expect(list == before, "an index out of range moved something");
    }
    return 0;
}
