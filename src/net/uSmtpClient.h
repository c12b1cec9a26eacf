#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class TMimeMessage;

struct TSmtpServer
{
    QString Host;
    int Port = 25;
    // TLS from the first byte (smtps), without checking the certificate.
    bool UseSsl = false;
    // Empty: no login. Otherwise AUTH LOGIN.
    QString Username;
    QString Password;
    // Connect time-out and the longest wait for a server reply.
    int TimeoutMs = 60000;
};

// What became of one delivery attempt: the facts a caller needs to tell the
// kinds of failure apart.
struct TSmtpOutcome
{
    int CurlCode = 0;
    long OsErrno = 0;
    // The library's own description of the failure.
    QString ErrorText;
    // The last error reply of the server (4xx/5xx), multi-line replies joined.
    QString ErrorReply;

    bool Ok() const { return CurlCode == 0; }
};

// Sends one message over SMTP with libcurl. Send blocks; the callbacks run on
// the sending thread.
class TSmtpClient
{
public:
    TSmtpClient();

    // Bytes of the message handed to the connection: 0 when the message
    // starts, the running count, -1 when all of it is out.
    std::function<void(qint64)> OnProgress;
    // Every reply line of the server, for a status display.
    std::function<void(const QString&)> OnReply;

    TSmtpOutcome Send(const TSmtpServer& server, TMimeMessage& message);

    // From any thread: ends a running Send at once (it answers code 42), and
    // every later one before it starts. The transfer is aborted, never ended,
    // so the server cannot take a cut message for a whole one.
    void Abort();

private:
    std::atomic<bool> FAbort{false};
    std::mutex FLock; // guards FMulti against Abort while Send ends
    void* FMulti = nullptr;
};
