#pragma once

#include <cmath>

#include <QString>

#include "kvrfile/NumberText.h"

// Numbers of results as kvrtool solve prints them: six significant digits,
// and what is a billionth of the largest of its kind shown as 0, the
// rounding of the solution. The same in every locale.
namespace resultText {

inline QString number(double value, int digits = 6)
{
    return QString::fromStdString(formatSignificant(value == 0.0 ? 0.0 : value, digits, Halves::AwayFromZero));
}

inline QString number(double value, double largest) { return number(std::fabs(value) <= 1e-9 * largest ? 0.0 : value); }

}  // namespace resultText
