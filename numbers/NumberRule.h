#pragma once

#include <cstdint>

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
// otherwise silently read as 1500), and infinities and NaNs. A number is a
// number however large or small: whether its target type can hold it is the
// conversion's question, answered from the decimal text itself.
namespace numberRule {

bool isNumber(const QString& text, const QLocale& locale = QLocale());

enum class Conversion { Ok, Empty, NotANumber, OutOfRange };

struct SingleResult {
    Conversion status;
    float value;
};

struct IntegerResult {
    Conversion status;
    std::int16_t value;
    bool whole;  // the text is a whole number, nothing was rounded away
};

// The nearest single-precision value of the text. Tiny values round to a
// subnormal or to zero; values beyond the range of Single are OutOfRange.
SingleResult toSingle(const QString& text, const QLocale& locale = QLocale());

// The text rounded to the nearest whole number, an exact half going to the
// even neighbour (the decimal text is rounded, not a double near it);
// OutOfRange outside -32768..32767.
IntegerResult toInteger(const QString& text, const QLocale& locale = QLocale());

}  // namespace numberRule
