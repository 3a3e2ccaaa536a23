#pragma once

#include <cstdint>

// What the analysis takes on, so that every file is solved or refused
// within about 10 s and 1 GB on a 2-core machine (about 5 s on the one the
// figures were measured on, shared with other work). The factorisation is
// refused beyond these before a number of it is computed.
namespace analysisLimits {

// Entries of the factor L that the symbolic count goes up to.
inline constexpr std::int64_t largestFactor = 20'000'000;

// Multiply-adds of the factorisation in double: about 1 s.
inline constexpr double largestWork = 3e8;

// What a multiply-add costs in the other arithmetics, in those of double.
inline constexpr double residueCost = 5;
inline constexpr double extendedCost = 6;
inline constexpr double quadCost = 60;

// All the factorisations of one file, in multiply-adds of double: a wider
// arithmetic is tried only while the work so far and its own fit.
inline constexpr double workBudget = 1.5e9;

}  // namespace analysisLimits
