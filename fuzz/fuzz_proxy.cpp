// The proxy variables of the environment and the "ftp=...;http=..." text made
// of them: any values give hosts and ports of the promised shape.

#include "uFuzzSupport.h"
#include "uProxySettings.h"

namespace {

constexpr TProxyProtocol AllProtocols[] = {ppFtp, ppGopher, ppHttp, ppHttps};

void CheckHostPort(const QString& value)
{
    const QString hostPort = ProxyHostPort(value);
    Expect(!hostPort.contains(u'/') && !hostPort.contains(u'@'),
           "a path or a login left in host:port");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The input sets the others; these would shadow or fill in for them.
    for (const char* name : {"ALL_PROXY", "FTP_PROXY", "HTTP_PROXY", "https_proxy"})
        qunsetenv(name);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    for (const char* name : {"all_proxy", "ftp_proxy", "http_proxy", "HTTPS_PROXY"}) {
        const std::string value = input.ConsumeRandomLengthString();
        // A NUL cannot be part of an environment value.
        qputenv(name, QByteArray(value.c_str()));
        CheckHostPort(QString::fromUtf8(value.c_str()));
    }
    const QString text = RestText(input);
    CheckHostPort(text);

    const TProxySettingsReader reader;
    const QString server = reader.GetProxyServer();
    for (TProxyProtocol protocol : AllProtocols) {
        const QString entry = TProxySettingsReader::GetProtocolEntry(text, protocol);
        Expect(text.contains(u'=') || entry == text, "a text without \"=\" was taken apart");
        Expect(!reader.GetProxyHost(protocol).contains(u':'), "a host with a port");
        const int port = reader.GetProxyPort(protocol);
        Expect(server.contains(u':') || port > 0, "no default port");
    }
    return 0;
}
