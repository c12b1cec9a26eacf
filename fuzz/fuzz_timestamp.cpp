// 17-digit timestamps: any text gives the default or a valid time whose
// fields are the text's, and the time written back reads the same.

#include "uFuzzSupport.h"
#include "uShared.h"

#include <ctime>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Local time without summer-time gaps, where every written time exists.
    qputenv("TZ", "UTC");
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QDateTime read = StrToTimestamp(text, QDateTime());
    if (!read.isValid())
        return 0;
    const QString written = TimestampToStr(read);
    Expect(written.size() == 17, "a written timestamp of another length");
    // Fields cut short by the end of the text are read as they stand.
    Expect(text.size() < 12 || written.left(12) == text.left(12),
           "year to minute differ from the text");
    bool digits = text.size() == 17;
    for (QChar c : text)
        digits = digits && c >= u'0' && c <= u'9';
    Expect(!digits || written == text, "a full timestamp did not read back as written");
    Expect(StrToTimestamp(written, QDateTime()) == read, "a written timestamp reads otherwise");
    return 0;
}
