#include "uViewFamily.h"

QString FamilyStem(TViewFamily family)
{
    static const std::array<QString, ViewFamilyCount> stems = {
        QStringLiteral("AF"), QStringLiteral("Ko"), QStringLiteral("Su"),
        QStringLiteral("Mi"), QStringLiteral("Lg"), QStringLiteral("PL")};
    return stems.at(FamilyIndex(family));
}

QString FamilyKey(TViewFamily family)
{
    return FamilyStem(family) + QStringLiteral(" perziura");
}

QString FamilyBaseKey(TViewFamily family)
{
    return FamilyStem(family) + QStringLiteral(" perziura pirma");
}
