#pragma once

#include <cstdint>

// What the analysis takes on, so that every file is solved or refused
// within 3 s of CPU on the 2-core development machine, where a
// multiply-add of the factorisation in double takes 0.66 to 1 ns (bench:
// factoriseGrid). The factorisation is refused beyond these before a number
// of it is computed.
namespace analysisLimits {

// Entries of the factor L that the symbolic count goes up to.
inline constexpr std::int64_t largestFactor = 20'000'000;

// Multiply-adds of the factorisation in double: about 0.3 s.
inline constexpr double largestWork = 3e8;

// What a multiply-add costs in the other arithmetics, in those of double,
// rounded up from what factoriseGrid measures on a busy machine: 3.9 to
// 4.6 modulo 2^61 - 1, 4.7 to 5.4 modulo the drawn prime, 5.9 to 6.7 in
// long double, 48 to 63 in binary128.
inline constexpr double residueCost = 5;
inline constexpr double drawnPrimeCost = 6;
inline constexpr double extendedCost = 7;
inline constexpr double quadCost = 65;

// The solutions with a factor that an attempt in one arithmetic makes, at
// most: the refinement's, and the error bound's (ErrorBound.h). Each is two
// multiply-adds for every entry of the factor; where the factor is large
// and its factorisation cheap, they cost as much as it.
inline constexpr double solutionsPerAttempt = 34;

// All the factorisations and solutions of one file, in multiply-adds of
// double: 2.2 to 3.3 s. Both passes of the exact mechanism test fit for
// any factorisation allowed; a wider arithmetic is tried only while the
// work so far and its own fit.
inline constexpr double workBudget = 3.3e9;
static_assert(largestWork * (residueCost + drawnPrimeCost) <= workBudget);

}  // namespace analysisLimits
