#pragma once

#include "uError.h"

#include <QString>

#include <atomic>
#include <mutex>

class QIODevice;

// A failed FTP transfer; the text says what failed, where, and what the
// server answered.
class EFtpError : public EAppError
{
public:
    explicit EFtpError(const QString& message) : EAppError(message) {}
};

// Fetches single files over FTP the way the update servers need it: a
// connection and a login of its own per file, binary (TYPE I), active mode,
// no resume. Paths are relative to the folder the login lands in.
class TFtpClient
{
public:
    TFtpClient();
    TFtpClient(const TFtpClient&) = delete;
    TFtpClient& operator=(const TFtpClient&) = delete;

    QString Host;
    int Port = 21;
    QString UserName;
    QString Password;
    // Covers the connection and the login.
    int ConnectTimeoutMs = 20000;
    // How long the server may stay silent: waiting for a reply, or in the
    // middle of a file. Counted in whole seconds (at least one).
    int IdleTimeoutMs = 60000;
    // How long the server may take to open the data connection to us.
    int AcceptTimeoutMs = 60000;

    // Writes the remote file into out. Returns only when out holds the whole
    // file; any failure, a short transfer included, raises EFtpError. A path,
    // user name or password with a control character (a line break would
    // smuggle a command into the control connection) is refused before any
    // connection is made.
    void Retrieve(const QString& remotePath, QIODevice& out);

    // Callable from any thread: ends the transfer under way at once and
    // refuses further ones until ResetAbort.
    void Abort();
    void ResetAbort();

private:
    void RefuseControlCharacters(const QString& text, const QString& what) const;
    // The URL a remote path is fetched from: each path component
    // percent-escaped (UTF-8), a leading "/" kept as an absolute path.
    QByteArray Url(const QString& remotePath) const;

    std::atomic<bool> FAborted{false};
    std::mutex FMultiLock;
    void* FMulti = nullptr; // the transfer under way, for Abort's wake-up
};
