#pragma once

#include <cmath>

#include <QString>

// Numbers of results as kvrtool solve prints them: six significant digits,
// and what is a billionth of the largest of its kind shown as 0, the
// rounding of the solution. In the C locale, whatever the user's is.
namespace resultText {

inline QString number(double value) { return QString::number(value, 'g', 6); }

inline QString number(double value, double largest) { return number(std::fabs(value) <= 1e-9 * largest ? 0.0 : value); }

}  // namespace resultText
