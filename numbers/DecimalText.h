#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QLocale>
#include <QString>

// A number as the digits of its decimal text, so that it can be rounded to a
// target type without going through a double first: a double cannot hold
// 1e400 or 1e-400, and rounds 6.5000000000000000001 to the tie 6.5.
struct DecimalText {
    bool negative = false;
    std::string digits;      // the significant digits, without leading or trailing zeros
    std::int64_t point = 0;  // the value is 0.digits x 10^point

    // The text in the locale's own symbols: an optional sign, digits with an
    // optional decimal point, an optional exponent, blanks around. Nothing
    // else: no group separators, no infinities.
    static std::optional<DecimalText> read(const QString& text, const QLocale& locale);

    // A C form that std::from_chars reads to the same value.
    std::string cForm() const;

    bool isZero() const { return digits.empty(); }
    bool isBelowOne() const { return point <= 0; }
};

struct RoundedInteger {
    bool inRange;
    std::int16_t value;
    bool whole;
};

// The nearest whole number, an exact half going to the even neighbour; not
// in range outside -32768..32767.
RoundedInteger roundToInteger(const DecimalText& number);
