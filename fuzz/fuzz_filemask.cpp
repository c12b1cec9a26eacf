// File-name masks: any mask compiles or raises EAppError, and matching keeps
// the rules of "*" and of literal characters.

#include "uError.h"
#include "uFuzzSupport.h"
#include "uMaskFilter.h"

#include <optional>

namespace {

std::optional<TFileMask> Compiled(const QString& mask)
{
    try {
        return TFileMask(mask);
    } catch (const EAppError&) {
        return std::nullopt;
    }
}

// Only a to z ignore case.
QString FoldAscii(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return folded;
}

bool IsLiteral(const QString& mask)
{
    return !mask.contains(u'*') && !mask.contains(u'?') && !mask.contains(u'[');
}

void CheckMask(const QString& mask, const QString& name, const QString& tail)
{
    const std::optional<TFileMask> compiled = Compiled(mask);
    if (!compiled)
        return;
    const bool matches = compiled->Matches(name);
    if (IsLiteral(mask))
        Expect(matches == (FoldAscii(mask) == FoldAscii(name)), "a literal mask matched wrong");
    if (!matches)
        return;
    // A star more at either end lets any text more through there.
    if (const auto longer = Compiled(mask + u'*'))
        Expect(longer->Matches(name + tail), "a trailing * refused a longer name");
    if (const auto longer = Compiled(u'*' + mask))
        Expect(longer->Matches(tail + name), "a leading * refused a longer name");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString mask = NextText(input);
    const QString name = NextText(input);
    const QString tail = NextText(input);
    CheckMask(mask, name, tail);
    Expect(Compiled(QStringLiteral("*"))->Matches(name), "* refused a name");

    // The list of the file list: an invalid piece raises, the rest works.
    TMaskFilter filter;
    try {
        filter.SetIncludeMasks(mask);
    } catch (const EAppError&) {
    }
    try {
        filter.SetHideMasks(tail);
    } catch (const EAppError&) {
    }
    filter.Passes(name);
    filter.Hint();
    return 0;
}
