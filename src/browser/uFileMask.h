#pragma once

#include <QList>
#include <QString>

// One compiled file-name mask. "*" matches any run of characters (also none),
// "?" exactly one, "[set]" one character of the set ("a-z" ranges, "!" right
// after "[" negates); every other character matches itself. Only the Latin
// letters a to z match without regard to case. The mask matches whole names.
class TFileMask
{
public:
    // Raises EAppError "'%s' is an invalid mask at (%d)" (1-based position)
    // for a set that is not closed, is empty or begins with "-", and for more
    // than 30 runs of "*".
    explicit TFileMask(const QString& mask);

    bool Matches(const QString& name) const;

private:
    enum class TKind { Star, Literal, Any, Set };
    struct TRange
    {
        char32_t Low, High;
    };
    struct TStep
    {
        explicit TStep(TKind kind, char32_t literal = 0) : Kind(kind), Literal(literal) {}
        TKind Kind;
        char32_t Literal = 0;
        bool Negate = false;
        QList<TRange> Set;
    };

    bool StepMatches(const TStep& step, char32_t c) const;

    QList<TStep> FSteps;
};
