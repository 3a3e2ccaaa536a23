#pragma once

#include <algorithm>
#include <cmath>

#include <QString>

#include "analysis/TrussSolver.h"
#include "kvrfile/NumberText.h"

// Numbers of results as kvrtool solve prints them, the same in every locale:
// each to the digits its accuracy vouches for, an exact half rounded away
// from zero.
namespace resultText {

constexpr int digits = 6;

inline QString number(double value, int digits = resultText::digits)
{
    return QString::fromStdString(formatSignificant(value == 0.0 ? 0.0 : value, digits, Halves::AwayFromZero));
}

// Down to the place of its error, the last digit uncertain by that error,
// and no more than digits; a value within its error is the rounding of the
// solution, shown as 0.
inline QString vouched(double value, double error, int digits = resultText::digits)
{
    if (!(std::fabs(value) > error))
        return QStringLiteral("0");
    if (error > 0)
        digits = std::clamp(int(std::floor(std::log10(std::fabs(value))) - std::floor(std::log10(error))) + 1, 1, digits);
    return number(value, digits);
}

// Two digits, for tolerances and error estimates: 6e-8, not 6e-08.
inline QString rounded(double value)
{
    return number(value, 2).replace(QLatin1String("e-0"), QLatin1String("e-")).replace(QLatin1String("e+0"), QLatin1String("e+"));
}

// What the check found of the balance, after "equilibrium residual: ". One
// tolerance where no load stands on a support; else the free nodes' and
// the reactions' each, measured against different loads.
inline QString equilibriumResidual(const TrussSolution& s)
{
    if (s.tolerance == s.reactionTolerance)
        return QStringLiteral("%1 kN, the largest out-of-balance force at a free node or of the reactions against the loads "
                              "(at most %2 kN, %3 of the loads)")
            .arg(rounded(std::max(s.residual, s.imbalance)), rounded(s.tolerance), rounded(relativeTolerance));
    return QStringLiteral("%1 kN, the largest out-of-balance force at a free node (at most %2 kN, %3 of the loads off the "
                          "supports), and %4 kN of the reactions against the loads (at most %5 kN, %3 of all the loads)")
        .arg(rounded(s.residual), rounded(s.tolerance), rounded(relativeTolerance), rounded(s.imbalance),
             rounded(s.reactionTolerance));
}

}  // namespace resultText
