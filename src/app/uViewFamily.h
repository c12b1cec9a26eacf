#pragma once

#include <QString>

#include <array>
#include <cstddef>

// The six view families: each has a base folder, a history entry and include
// and hide masks in the configuration.
enum class TViewFamily { AF, Ko, Su, Mi, Lg, PL };
inline constexpr int ViewFamilyCount = 6;

inline constexpr std::array<TViewFamily, ViewFamilyCount> AllViewFamilies = {
    TViewFamily::AF, TViewFamily::Ko, TViewFamily::Su,
    TViewFamily::Mi, TViewFamily::Lg, TViewFamily::PL};

// The key stem of a family: "AF", "Ko", "Su", "Mi", "Lg", "PL".
QString FamilyStem(TViewFamily family);
// "<stem> perziura": key in "Istorija", "Itraukti", "Atmesti".
QString FamilyKey(TViewFamily family);
// "<stem> perziura pirma": key of the base folder in "Nustatymai".
QString FamilyBaseKey(TViewFamily family);

inline std::size_t FamilyIndex(TViewFamily family)
{
    return static_cast<std::size_t>(family);
}
