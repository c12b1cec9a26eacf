// Quote-aware words of a command string: reading goes forward within the
// text, and the word and tail functions agree with reading word by word.

#include "uFuzzSupport.h"
#include "uShared.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int count = input.ConsumeIntegralInRange<int>(0, 12);
    const QString text = RestText(input);

    qsizetype pos = 0;
    QStringList words;
    for (int n = 1; n <= count; ++n) {
        const qsizetype start = pos;
        const QString word = ReadCommandWord(text, pos);
        Expect(pos >= start && pos <= text.size(), "reading left the text or went back");
        words.append(word);
    }
    for (int n = 1; n <= count; ++n)
        Expect(GetCommandWord(text, n) == words.at(n - 1), "a word differs from reading");
    // The tail after n - 1 words starts where reading them stopped.
    qsizetype tailPos = 0;
    for (int n = 1; n <= count + 1; ++n) {
        Expect(GetCommandTail(text, n) == text.mid(tailPos), "a tail differs from reading");
        ReadCommandWord(text, tailPos);
    }
    return 0;
}
