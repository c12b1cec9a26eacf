#include "uCheckMd5.h"

#include "uDownloadExceptions.h"

#include <QIODevice>

#include <memory>
#include <openssl/evp.h>

namespace {

struct TMdContextDeleter
{
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// Puts the stream back where it was, also when reading fails.
class TPositionKeeper
{
public:
    explicit TPositionKeeper(QIODevice& stream) : FStream(stream), FPosition(stream.pos()) {}
    ~TPositionKeeper() { FStream.seek(FPosition); }
    TPositionKeeper(const TPositionKeeper&) = delete;
    TPositionKeeper& operator=(const TPositionKeeper&) = delete;

private:
    QIODevice& FStream;
    qint64 FPosition;
};

} // namespace

QString Md5Hex(QIODevice& stream)
{
    TPositionKeeper keeper(stream);
    std::unique_ptr<EVP_MD_CTX, TMdContextDeleter> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1)
        throw EAppError(QStringLiteral("MD5 is not available"));
    if (!stream.seek(0))
        throw EAppError(stream.errorString());
    constexpr qint64 ChunkSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(ChunkSize);
    for (;;) {
        const qint64 length = stream.read(buffer.get(), ChunkSize);
        if (length < 0)
            throw EAppError(stream.errorString());
        if (length == 0)
            break;
        EVP_DigestUpdate(context.get(), buffer.get(), static_cast<size_t>(length));
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    EVP_DigestFinal_ex(context.get(), digest, &digestLength);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest), digestLength).toHex().toUpper());
}

void CheckMd5(QIODevice& stream, const QString& md5, const QString& name)
{
    if (Md5Hex(stream) != md5)
        throw EDownloadFileException(QStringLiteral("Download of file '%1'\u00A0failed").arg(name));
}
