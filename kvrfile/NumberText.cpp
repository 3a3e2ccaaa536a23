#include "kvrfile/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <system_error>

namespace {

// Whether the text reads back as the value, or, given slack, as a Single next to it.
bool readsBackAs(const std::string& text, float value, bool slack)
{
    float read = 0.0f;
    const std::from_chars_result end = std::from_chars(text.data(), text.data() + text.size(), read);
    if (end.ec != std::errc())
        return false;
    constexpr float infinity = std::numeric_limits<float>::infinity();
    return read == value || (slack && (read == std::nextafter(value, -infinity) || read == std::nextafter(value, infinity)));
}

// The shortest text from 6 significant digits up that reads back; 9 always do.
std::string shortestSingle(float value, bool slack)
{
    std::string text;
    for (int digits = 6; digits <= 9; ++digits) {
        text = formatSignificant(value, digits);
        if (!std::isfinite(value) || readsBackAs(text, value, slack))
            break;
    }
    return text;
}

// The value in scientific form with one digit more than asked for:
// significant digits and the power of ten of the first.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal decimalOf(double value, int digits)
{
    char text[64];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), std::fabs(value), std::chars_format::scientific, digits);
    const char* const exponentMark = std::find(text, end.ptr, 'e');
    Decimal decimal;
    for (const char* c = text; c != exponentMark; ++c)
        if (*c != '.')
            decimal.digits += *c;
    std::from_chars(exponentMark + (exponentMark[1] == '+' ? 2 : 1), end.ptr, decimal.exponent);
    return decimal;
}

// Whether the value is exactly that decimal and it ends in a 5: a whole
// multiple of the power of ten of its last digit.
bool halfWay(double value, const Decimal& decimal)
{
    if (decimal.digits.back() != '5')
        return false;
    const int places = static_cast<int>(decimal.digits.size()) - 1 - decimal.exponent;  // the 5 stands for 5 x 10^-places
    // value = odd x 2^power, so that value x 10^places = odd x 5^places x 2^(power + places).
    int power = 0;
    double odd = std::ldexp(std::frexp(std::fabs(value), &power), std::numeric_limits<double>::digits);
    power -= std::numeric_limits<double>::digits;
    while (std::fmod(odd, 2.0) == 0.0) {
        odd /= 2.0;
        ++power;
    }
    if (places >= 0)
        return power + places >= 0;
    // A whole multiple of 10^-places: of 2^-places in its power, of 5^-places in its odd part.
    double fives = 1.0;
    for (int i = 0; i < -places; ++i)
        fives *= 5.0;
    return power + places >= 0 && std::fmod(odd, fives) == 0.0;
}

// The decimal without its last digit, the one before it raised by one.
Decimal roundedAway(Decimal decimal)
{
    decimal.digits.pop_back();
    std::size_t i = decimal.digits.size();
    while (i > 0 && decimal.digits[i - 1] == '9')
        decimal.digits[--i] = '0';
    if (i > 0) {
        ++decimal.digits[i - 1];
    } else {
        decimal.digits.insert(decimal.digits.begin(), '1');
        decimal.digits.pop_back();
        ++decimal.exponent;
    }
    return decimal;
}

// As printf's %.*g writes the decimal, precision its significant digits.
std::string general(bool negative, Decimal decimal, int precision)
{
    std::string text = negative ? "-" : "";
    std::string& digits = decimal.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = decimal.exponent;
    if (exponent < -4 || exponent >= precision) {
        text += digits[0];
        if (digits.size() > 1)
            text.append(1, '.').append(digits, 1);
        const std::string power = std::to_string(exponent < 0 ? -exponent : exponent);
        return text.append(exponent < 0 ? "e-" : "e+").append(power.size() < 2 ? "0" : "").append(power);
    }
    if (exponent < 0)
        return text.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return text.append(digits).append(whole - digits.size(), '0');
    return text.append(digits, 0, whole).append(1, '.').append(digits, whole);
}

}  // namespace

std::string formatSignificant(double value, int digits, Halves halves)
{
    // to_chars rounds an exact half to even.
    if (halves == Halves::AwayFromZero && std::isfinite(value) && value != 0.0) {
        const Decimal decimal = decimalOf(value, digits);
        if (halfWay(value, decimal))
            return general(value < 0, roundedAway(decimal), digits);
    }
    char text[64];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, digits);
    return std::string(text, end.ptr);
}

std::string formatSingle(float value) { return shortestSingle(value, false); }

std::string formatQuantity(float value) { return shortestSingle(value, true); }

std::string counted(std::int64_t count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}
