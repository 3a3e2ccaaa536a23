#pragma once

#include <cstdint>
#include <optional>

#include <QLocale>
#include <QString>

// The window's one rule for what a typed text means as a number. The input
// check and the conversions of the generate command both go through it, so a
// text that passes the check always converts (unless it is empty or beyond the
// range of its target type).
//
// A number is the whole text in the user's locale: digits, an optional
// leading sign, the locale's decimal separator, an optional decimal exponent,
// blanks before and after. Refused: the empty text, a sign or separator
// alone, digit-group separators (in a decimal-comma locale "1.500" would
// otherwise silently read as 1500), and infinities and NaNs.
namespace numberRule {

// The value of the text, when it is a number.
std::optional<double> parse(const QString& text, const QLocale& locale = QLocale());

inline bool isNumber(const QString& text, const QLocale& locale = QLocale()) { return parse(text, locale).has_value(); }

enum class Conversion { Ok, Empty, NotANumber, OutOfRange };

struct SingleResult {
    Conversion status;
    float value;
};

struct IntegerResult {
    Conversion status;
    std::int16_t value;
};

// The nearest single-precision value of the text. Tiny values round to a
// subnormal or to zero; values beyond the range of Single are OutOfRange.
SingleResult toSingle(const QString& text, const QLocale& locale = QLocale());

// The text rounded to the nearest whole number, an exact half going to the
// even neighbour; OutOfRange outside -32768..32767.
IntegerResult toInteger(const QString& text, const QLocale& locale = QLocale());

}  // namespace numberRule
