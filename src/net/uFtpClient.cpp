#include "uFtpClient.h"

#include "uCurlGlobal.h"

#include <QIODevice>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <curl/curl.h>
#include <memory>

namespace {

struct TTransfer
{
    QIODevice* Out = nullptr;
    const std::atomic<bool>* Aborted = nullptr;
    qint64 Written = 0;
    QString WriteError;
    QByteArray ErrorReply; // the last 4xx/5xx reply; curl's QUIT follows it
};

size_t WriteData(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<TTransfer*>(user);
    const auto length = static_cast<qint64>(size * count);
    if (transfer->Out->write(data, length) != length) {
        transfer->WriteError = transfer->Out->errorString();
        return 0;
    }
    transfer->Written += length;
    return size * count;
}

bool IsErrorReply(const QByteArray& line)
{
    return line.size() >= 4 && (line[0] == '4' || line[0] == '5') && std::isdigit(line[1]) &&
           std::isdigit(line[2]) && (line[3] == ' ' || line[3] == '-');
}

size_t ReplyLine(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<TTransfer*>(user);
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(size * count)).trimmed();
    if (IsErrorReply(line)) {
        // Lines of one multi-line reply ("530-...", "530 ...") are joined.
        const bool continues = transfer->ErrorReply.size() >= 4 && transfer->ErrorReply[3] == '-' &&
                               transfer->ErrorReply.left(3) == line.left(3);
        transfer->ErrorReply = continues ? transfer->ErrorReply + ' ' + line : line;
    }
    return size * count;
}

bool HasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

long WholeSeconds(int milliseconds)
{
    return std::max(1L, (static_cast<long>(milliseconds) + 999) / 1000);
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<TTransfer*>(user)->Aborted->load() ? 1 : 0;
}

struct TEasyDeleter
{
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct TMultiDeleter
{
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

} // namespace

TFtpClient::TFtpClient()
{
    CurlGlobalInit();
}

QByteArray TFtpClient::Url(const QString& remotePath) const
{
    // Instruction files may write remote paths the Windows way.
    QString path = remotePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QByteArray host = QUrl::toAce(Host);
    if (host.isEmpty())
        host = Host.toUtf8();
    if (host.contains(':'))
        host = '[' + host + ']';
    QByteArray url = "ftp://" + host + ':' + QByteArray::number(Port) + '/';
    if (path.startsWith(QLatin1Char('/')))
        url += "%2F"; // curl's way of saying "from the root, not the login folder"
    QByteArrayList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        parts.append(QUrl::toPercentEncoding(part));
    return url + parts.join('/');
}

void TFtpClient::Abort()
{
    FAborted = true;
    std::lock_guard lock(FMultiLock);
    if (FMulti)
        curl_multi_wakeup(static_cast<CURLM*>(FMulti));
}

void TFtpClient::ResetAbort()
{
    FAborted = false;
}

void TFtpClient::RefuseControlCharacters(const QString& text, const QString& what) const
{
    // The text itself stays out of the message: it may be the password.
    if (HasControlCharacter(text))
        throw EFtpError(QStringLiteral("FTP %1:%2: the %3 holds a line break or another control "
                                       "character")
                            .arg(Host)
                            .arg(Port)
                            .arg(what));
}

void TFtpClient::Retrieve(const QString& remotePath, QIODevice& out)
{
    RefuseControlCharacters(remotePath, QStringLiteral("remote path"));
    RefuseControlCharacters(UserName, QStringLiteral("user name"));
    RefuseControlCharacters(Password, QStringLiteral("password"));
    TTransfer transfer;
    transfer.Out = &out;
    transfer.Aborted = &FAborted;

    const QByteArray url = Url(remotePath);
    const QByteArray user = UserName.toUtf8();
    const QByteArray password = Password.toUtf8();
    std::unique_ptr<CURL, TEasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, TMultiDeleter> multi(curl_multi_init());
    if (!easy || !multi)
        throw EFtpError(QStringLiteral("FTP: libcurl could not be initialised"));
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(e, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(e, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectTimeoutMs));
    curl_easy_setopt(e, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(AcceptTimeoutMs));
    // A server that goes silent ends the transfer instead of holding the
    // check for ever: no reply within the time, or not a byte of the file.
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(IdleTimeoutMs));
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, WholeSeconds(IdleTimeoutMs));
    // The servers are reached directly; a proxy in the environment must not
    // reroute them.
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, WriteData);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, ReplyLine);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);

    curl_multi_add_handle(multi.get(), e);
    {
        std::lock_guard lock(FMultiLock);
        FMulti = multi.get();
    }
    CURLcode result = CURLE_OK;
    QString multiError;
    for (bool done = false; !done;) {
        if (FAborted) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int running = 0;
        const CURLMcode code = curl_multi_perform(multi.get(), &running);
        if (code != CURLM_OK) {
            multiError = QString::fromUtf8(curl_multi_strerror(code));
            break;
        }
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (!done)
            curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
    }
    {
        std::lock_guard lock(FMultiLock);
        FMulti = nullptr;
    }
    curl_multi_remove_handle(multi.get(), e);

    curl_off_t expected = -1;
    curl_easy_getinfo(e, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
    long osErrno = 0;
    curl_easy_getinfo(e, CURLINFO_OS_ERRNO, &osErrno);

    QString reason;
    if (!multiError.isEmpty()) {
        reason = multiError;
    } else if (FAborted && (result == CURLE_OK || result == CURLE_ABORTED_BY_CALLBACK)) {
        reason = QStringLiteral("transfer aborted");
    } else if (result == CURLE_WRITE_ERROR && !transfer.WriteError.isEmpty()) {
        reason = QStringLiteral("cannot store the received data: %1").arg(transfer.WriteError);
    } else if (result != CURLE_OK) {
        reason = QString::fromUtf8(curl_easy_strerror(result));
        if (osErrno != 0 && (result == CURLE_COULDNT_CONNECT || result == CURLE_RECV_ERROR ||
                             result == CURLE_SEND_ERROR))
            reason += QStringLiteral(": ") + qt_error_string(static_cast<int>(osErrno));
    } else if (expected >= 0 && expected != transfer.Written) {
        // curl checks this itself; a file cut short must never pass for whole.
        reason = QString::fromUtf8(curl_easy_strerror(CURLE_PARTIAL_FILE));
    } else {
        return;
    }
    if (result == CURLE_PARTIAL_FILE || (result == CURLE_OK && expected >= 0))
        reason += QStringLiteral(", %1 of %2 bytes").arg(transfer.Written).arg(expected);
    if (!transfer.ErrorReply.isEmpty())
        reason += QStringLiteral(" (%1)").arg(QString::fromUtf8(transfer.ErrorReply));
    throw EFtpError(
        QStringLiteral("FTP %1:%2 \"%3\": %4").arg(Host).arg(Port).arg(remotePath, reason));
}
