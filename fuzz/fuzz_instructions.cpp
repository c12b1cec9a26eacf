// The instruction file of an update server: any bytes become tasks without a
// failure, and the "%NAME%" expansion of its paths splits where it should.

#include "uDownloadTaskOwner.h"
#include "uFuzzSupport.h"
#include "uInstructionParser.h"

#include <QCoreApplication>
#include <QStringList>

#include <stdexcept>

namespace {

// Parsing only makes tasks; nothing may reach the store or the server yet.
class TNoOwner : public IDownloadTaskOwner
{
public:
    std::shared_ptr<IDownloadTaskStore> Store() const override
    {
        throw std::logic_error("parsing used the store");
    }
    void FtpDownload(const QString&, QIODevice&) override
    {
        throw std::logic_error("parsing downloaded");
    }
};

bool IsTrimmed(const QString& text)
{
    return text.isEmpty() || (text.front().unicode() > 32 && text.back().unicode() > 32);
}

// The expansion replaces "%...%" pairs from left to right, so a text cut
// after an even number of "%" expands as its two pieces do.
void CheckExpansion(const QString& line)
{
    if (line.count(u'%') < 2)
        Expect(ExpandVariables(line) == line, "a text without a pair of % changed");
    const QString head = line.left(line.size() / 2);
    if (head.count(u'%') % 2 == 0)
        Expect(ExpandVariables(line) ==
                   ExpandVariables(head) + ExpandVariables(line.mid(head.size())),
               "expansion depends on where the text is cut");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // "%ZUBEXEDIR%" asks the application for its folder.
    static QCoreApplication application(*argc, *argv);
    // A value that names its own variable: one pass must not go round.
    qputenv("KELMIRA_FUZZ", "C:\\Program Files\\%KELMIRA_FUZZ%");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = InstructionLines(text);
    TNoOwner owner;
    TDownloadTaskList tasks;
    const TInstructionsResult result = ParseInstructions(text, owner, tasks);
    Expect(IsTrimmed(result.Redirect), "the redirection keeps blanks");
    qsizetype next = 0;
    for (const TDownloadTaskEntry& entry : tasks) {
        Expect(entry.Task != nullptr, "an entry without a task");
        const qsizetype found = lines.indexOf(entry.Line, next);
        Expect(found >= 0, "a task of no line, or out of line order");
        next = found + 1;
        Expect(entry.Line.startsWith(entry.Task->Command(), Qt::CaseInsensitive),
               "a task of another command");
    }
    for (const QString& line : lines)
        CheckExpansion(line);
    return 0;
}
