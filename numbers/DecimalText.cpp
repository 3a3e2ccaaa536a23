#include "numbers/DecimalText.h"

#include <algorithm>
#include <limits>

namespace {

// Reads the text from the front, one symbol of the locale at a time.
class Scanner {
public:
    Scanner(const QString& text, const QLocale& locale) : text_(text.trimmed()), locale_(locale)
    {
        const QString zero = locale.zeroDigit();
        zero_ = zero.size() == 1 ? zero.at(0) : QChar(u'0');
    }

    bool atEnd() const { return at_ == text_.size(); }

    bool take(const QString& symbol)
    {
        if (symbol.isEmpty() || !QStringView(text_).mid(at_).startsWith(symbol, Qt::CaseInsensitive))
            return false;
        at_ += symbol.size();
        return true;
    }

    // A minus sign, a plus sign or none: whether the number is negative.
    bool takeSign()
    {
        if (take(locale_.negativeSign()))
            return true;
        take(locale_.positiveSign());
        return false;
    }

    // The run of digits here, as ASCII digits.
    std::string takeDigits()
    {
        std::string digits;
        while (at_ < text_.size()) {
            const int value = text_.at(at_).unicode() - zero_.unicode();
            if (value < 0 || value > 9)
                break;
            digits += static_cast<char>('0' + value);
            ++at_;
        }
        return digits;
    }

private:
    QString text_;
    const QLocale& locale_;
    QChar zero_;
    qsizetype at_ = 0;
};

// Far beyond every target type, and far from overflowing the point.
constexpr std::int64_t exponentCap = 1'000'000'000;

std::int64_t exponentOf(const std::string& digits, bool negative)
{
    std::int64_t value = 0;
    for (const char d : digits)
        value = std::min(exponentCap, value * 10 + (d - '0'));
    return negative ? -value : value;
}

}  // namespace

std::optional<DecimalText> DecimalText::read(const QString& text, const QLocale& locale)
{
    Scanner scan(text, locale);
    DecimalText number;
    number.negative = scan.takeSign();
    const std::string whole = scan.takeDigits();
    const std::string fraction = scan.take(locale.decimalPoint()) ? scan.takeDigits() : std::string();
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    std::int64_t exponent = 0;
    if (scan.take(locale.exponential())) {
        const bool negativeExponent = scan.takeSign();
        const std::string digits = scan.takeDigits();
        if (digits.empty())
            return std::nullopt;
        exponent = exponentOf(digits, negativeExponent);
    }
    if (!scan.atEnd())
        return std::nullopt;

    number.digits = whole + fraction;
    number.point = static_cast<std::int64_t>(whole.size()) + exponent;
    const auto first = number.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        number.digits.clear();
        number.point = 0;
        return number;
    }
    number.digits.erase(0, first);
    number.point -= static_cast<std::int64_t>(first);
    number.digits.erase(number.digits.find_last_not_of('0') + 1);
    return number;
}

std::string DecimalText::cForm() const
{
    if (isZero())
        return negative ? "-0" : "0";
    return (negative ? "-0." : "0.") + digits + 'e' + std::to_string(point);
}

RoundedInteger roundToInteger(const DecimalText& number)
{
    if (number.isZero())
        return {true, 0, true};
    if (number.point > 5)  // at least 10^5
        return {false, 0, true};

    // The digits before the decimal point, and the fraction after it.
    const std::size_t split = number.point > 0 ? static_cast<std::size_t>(number.point) : 0;
    std::string whole = number.digits.substr(0, std::min(split, number.digits.size()));
    whole.resize(split, '0');
    const std::string fraction = split < number.digits.size() ? number.digits.substr(split) : std::string();
    // No trailing zeros: a fraction "5" is an exact half, "5..." more. When
    // the point lies before the digits, the fraction is below a tenth.
    const bool half = number.point >= 0 && fraction == "5";
    const bool beyondHalf = number.point >= 0 && !fraction.empty() && fraction > "5";

    std::int32_t value = whole.empty() ? 0 : std::stoi(whole);
    if (beyondHalf || (half && value % 2 == 1))
        ++value;
    if (number.negative)
        value = -value;
    const bool inRange = value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max();
    return {inRange, static_cast<std::int16_t>(inRange ? value : 0), fraction.empty()};
}
