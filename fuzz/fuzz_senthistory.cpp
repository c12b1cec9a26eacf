// A sent-files history file of any bytes: it reads without a failure, and a
// line appended to it reads back after the entries that were there.

#include "uCodePage.h"
#include "uFuzzSupport.h"
#include "uSentHistory.h"
#include "uSentHistoryReader.h"

#include <QFile>

namespace {

void CheckEntries(const QStringList& entries)
{
    for (const QString& entry : entries)
        Expect(!entry.isEmpty() && entry == entry.trimmed() && !entry.contains(u'\n'),
               "an entry that is blank, untrimmed or more than a line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString time = NextText(input);
    const QString file = NextText(input);
    const std::string content = input.ConsumeRemainingBytesAsString();

    const QString path = ScratchFolder() + QStringLiteral("/fuzz.zbx");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(content.data(), qint64(content.size())) != qint64(content.size()))
        Expect(false, "the scratch file cannot be written");
    out.close();

    Expect(IsSentHistoryFile(path), "a .zbx file not taken for history");
    const QStringList before = ReadSentHistory(path);
    CheckEntries(before);

    // The program writes times of the locale, which fit their column, and
    // paths of one line.
    if (ToCodePage(time).size() > 20 || time.contains(u'\n') || time.contains(u'\r') ||
        file.contains(u'\n') || file.contains(u'\r'))
        return 0;
    // Control characters are written as "?", as letters the code page lacks are.
    QString written = file;
    for (QChar& c : written)
        if (c.unicode() < 0x20)
            c = u'?';
    const QString expected = FromCodePage(ToCodePage(written)).trimmed();
    if (expected.isEmpty())
        return 0;
    AppendSentHistory(path, {THistoryEntry{time, file}});
    const QStringList after = ReadSentHistory(path);
    CheckEntries(after);
    Expect(after == before + QStringList{expected}, "appending changed or lost an entry");
    return 0;
}
