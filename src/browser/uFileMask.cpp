#include "uFileMask.h"

#include "uError.h"

namespace {

constexpr int MaxStarRuns = 30;

// Only the Latin letters ignore case; every other character matches exactly.
char32_t FoldAscii(char32_t c)
{
    return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c;
}

[[noreturn]] void InvalidMask(const QString& mask, qsizetype position)
{
    throw EAppError(
        QStringLiteral("'%1' is an invalid mask at (%2)").arg(mask, QString::number(position + 1)));
}

} // namespace

TFileMask::TFileMask(const QString& mask)
{
    const QList<uint> text = mask.toUcs4();
    const qsizetype length = text.size();
    int starRuns = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const char32_t c = text[i];
        const bool afterStar = !FSteps.isEmpty() && FSteps.last().Kind == TKind::Star;
        if (c == U'*') {
            if (!afterStar) {
                if (++starRuns > MaxStarRuns)
                    InvalidMask(mask, i);
                FSteps.append(TStep(TKind::Star));
            }
        } else if (c == U'?') {
            // "*?" means no more than "*": the run already covers that character.
            if (!afterStar)
                FSteps.append(TStep(TKind::Any));
        } else if (c == U'[') {
            TStep step(TKind::Set);
            qsizetype j = i + 1;
            if (j < length && text[j] == U'!') {
                step.Negate = true;
                ++j;
            }
            bool canStartRange = false;
            while (j < length && text[j] != U']') {
                if (text[j] != U'-') {
                    const char32_t folded = FoldAscii(text[j]);
                    step.Set.append({folded, folded});
                    canStartRange = true;
                    ++j;
                } else if (j + 1 < length && text[j + 1] == U']' && canStartRange) {
                    // A "-" just before "]" stands for itself.
                    step.Set.append({U'-', U'-'});
                    ++j;
                } else if (!canStartRange) {
                    InvalidMask(mask, j);
                } else if (j + 1 >= length) {
                    InvalidMask(mask, length);
                } else {
                    TRange& range = step.Set.last();
                    range.High = FoldAscii(text[j + 1]);
                    if (range.High < range.Low)
                        step.Set.removeLast();
                    canStartRange = false;
                    j += 2;
                }
            }
            if (j >= length)
                InvalidMask(mask, length);
            if (step.Set.isEmpty())
                InvalidMask(mask, j);
            FSteps.append(step);
            i = j;
        } else {
            FSteps.append(TStep(TKind::Literal, FoldAscii(c)));
        }
    }
}

bool TFileMask::StepMatches(const TStep& step, char32_t c) const
{
    const char32_t folded = FoldAscii(c);
    switch (step.Kind) {
    case TKind::Literal:
        return folded == step.Literal;
    case TKind::Any:
        return true;
    case TKind::Set:
        for (const TRange& range : step.Set)
            if (folded >= range.Low && folded <= range.High)
                return !step.Negate;
        return step.Negate;
    case TKind::Star:
        break;
    }
    return false;
}

bool TFileMask::Matches(const QString& name) const
{
    // Every step but a star takes exactly one character, so going back to the
    // last star and letting it take one more character is enough.
    const QList<uint> text = name.toUcs4();
    const qsizetype steps = FSteps.size();
    qsizetype s = 0, n = 0, star = -1, mark = 0;
    while (n < text.size()) {
        if (s < steps && FSteps[s].Kind == TKind::Star) {
            star = s++;
            mark = n;
        } else if (s < steps && StepMatches(FSteps[s], text[n])) {
            ++s;
            ++n;
        } else if (star >= 0) {
            s = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (s < steps && FSteps[s].Kind == TKind::Star)
        ++s;
    return s == steps;
}
