#include "uSmtpClient.h"

#include "uCurlGlobal.h"
#include "uMimeMessage.h"

#include <curl/curl.h>
#include <memory>

namespace {

// What is kept of a reply for the status line and the error message: a
// server may send endless continuation lines within its time-out.
constexpr qsizetype MaxReplyChars = 2000;

struct TTransfer
{
    TMimeMessage* Message = nullptr;
    const std::function<void(qint64)>* OnProgress = nullptr;
    const std::function<void(const QString&)>* OnReply = nullptr;
    const std::atomic<bool>* Abort = nullptr;
    qint64 Size = 0;
    qint64 Sent = -1; // -1: the message has not started
    bool Ended = false;
    bool ReadFailed = false;
    QString Reply; // the lines so far of a multi-line reply
    QString ErrorReply;

    void Progress(qint64 value) const
    {
        if (*OnProgress)
            (*OnProgress)(value);
    }
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* data)
{
    auto* transfer = static_cast<TTransfer*>(data);
    if (transfer->Ended)
        return 0;
    if (transfer->Sent < 0) {
        transfer->Sent = 0;
        transfer->Progress(0);
    }
    const qint64 got = transfer->Message->Read(buffer, qint64(size * count));
    if (got < 0) {
        transfer->ReadFailed = true;
        return CURL_READFUNC_ABORT;
    }
    transfer->Sent += got;
    if (got > 0)
        transfer->Progress(transfer->Sent);
    // curl asks no more once it has the announced size.
    transfer->Ended = got == 0 || transfer->Sent >= transfer->Size;
    if (transfer->Ended)
        transfer->Progress(-1);
    return size_t(got);
}

// curl hands every reply line of the server to this function.
size_t ReadReply(char* buffer, size_t size, size_t count, void* data)
{
    auto* transfer = static_cast<TTransfer*>(data);
    QString line = QString::fromUtf8(buffer, qsizetype(qMin<size_t>(size * count, MaxReplyChars)));
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    if (*transfer->OnReply)
        (*transfer->OnReply)(line);
    if (transfer->Reply.size() < MaxReplyChars)
        transfer->Reply += (transfer->Reply.isEmpty() ? QString() : QStringLiteral(" ")) + line;
    if (line.size() > 3 && line[3] == QLatin1Char('-'))
        return size * count;
    if (line.startsWith(QLatin1Char('4')) || line.startsWith(QLatin1Char('5')))
        transfer->ErrorReply = transfer->Reply;
    transfer->Reply.clear();
    return size * count;
}

int CheckAbort(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<TTransfer*>(data)->Abort->load() ? 1 : 0;
}

QByteArray EnvelopeAddress(const QString& address)
{
    return '<' + address.toUtf8() + '>';
}

} // namespace

TSmtpClient::TSmtpClient()
{
    CurlGlobalInit();
}

void TSmtpClient::Abort()
{
    FAbort = true;
    std::lock_guard lock(FLock);
    if (FMulti)
        curl_multi_wakeup(static_cast<CURLM*>(FMulti));
}

TSmtpOutcome TSmtpClient::Send(const TSmtpServer& server, TMimeMessage& message)
{
    TTransfer transfer;
    transfer.Message = &message;
    transfer.OnProgress = &OnProgress;
    transfer.OnReply = &OnReply;
    transfer.Abort = &FAbort;
    message.Rewind();
    transfer.Size = message.Size();

    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
    CURL* curl = easy.get();
    const QString host = server.Host.contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + server.Host + QLatin1Char(']')
                             : server.Host;
    const QByteArray url = (server.UseSsl ? "smtps://" : "smtp://") + host.toUtf8() + ':' +
                           QByteArray::number(server.Port);
    const QByteArray from = EnvelopeAddress(message.From().Address);
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(nullptr,
                                                                           curl_slist_free_all);
    for (const TMailAddress& recipient : message.Recipients())
        recipients.reset(curl_slist_append(recipients.release(),
                                           EnvelopeAddress(recipient.Address).constData()));
    const QByteArray user = server.Username.toUtf8();
    const QByteArray password = server.Password.toUtf8();
    char errorBuffer[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(transfer.Size));
    curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, ReadReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckAbort);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    // The time-out bounds the connection, every wait for a reply and any
    // stall while the message goes out.
    const long seconds = qMax(1L, long((server.TimeoutMs + 999) / 1000));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(server.TimeoutMs));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, seconds);
    if (server.UseSsl) {
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_0));
        // OpenSSL 3 refuses TLS 1.0/1.1 at its default level; old mail
        // servers still speak only those.
        curl_easy_setopt(curl, CURLOPT_SSL_CIPHER_LIST, "DEFAULT:@SECLEVEL=0");
    }
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(curl, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }

    // The multi interface only so that Abort can wake a wait at once.
    std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(),
                                                                curl_multi_cleanup);
    curl_multi_add_handle(multi.get(), curl);
    {
        std::lock_guard lock(FLock);
        FMulti = multi.get();
    }
    CURLcode code = CURLE_FAILED_INIT;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
            break;
        if (running)
            curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left))
        if (msg->msg == CURLMSG_DONE)
            code = msg->data.result;
    {
        std::lock_guard lock(FLock);
        FMulti = nullptr;
    }
    curl_multi_remove_handle(multi.get(), curl);

    TSmtpOutcome outcome;
    outcome.CurlCode = int(code);
    if (code == CURLE_OK)
        return outcome;
    curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &outcome.OsErrno);
    outcome.ErrorReply = transfer.ErrorReply;
    if (transfer.ReadFailed)
        outcome.ErrorText = message.ReadError();
    else if (errorBuffer[0])
        outcome.ErrorText = QString::fromUtf8(errorBuffer);
    else
        outcome.ErrorText = QString::fromUtf8(curl_easy_strerror(code));
    return outcome;
}
