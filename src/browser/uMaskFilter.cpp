#include "uMaskFilter.h"

void TMaskList::Compile(const QString& text)
{
    FMasks.clear();
    const QStringList pieces = text.split(QLatin1Char(';'));
    for (const QString& piece : pieces)
        if (piece.size() >= 2)
            FMasks.emplace_back(piece);
}

bool TMaskList::MatchesAny(const QString& name) const
{
    for (const TFileMask& mask : FMasks)
        if (mask.Matches(name))
            return true;
    return false;
}

bool TMaskFilter::SetIncludeMasks(const QString& text)
{
    if (text == FIncludeText)
        return false;
    FIncludeText = text;
    FInclude.Compile(text);
    return true;
}

bool TMaskFilter::SetHideMasks(const QString& text)
{
    if (text == FHideText)
        return false;
    FHideText = text;
    FHide.Compile(text);
    return true;
}

bool TMaskFilter::Passes(const QString& name) const
{
    if (!FInclude.IsEmpty() && !FInclude.MatchesAny(name))
        return false;
    return !FHide.MatchesAny(name);
}

QString TMaskFilter::Hint() const
{
    if (FIncludeText.isEmpty() && FHideText.isEmpty())
        return {};
    return QStringLiteral("Įtraukti: %1\nPaslėpti: %2").arg(FIncludeText, FHideText);
}
