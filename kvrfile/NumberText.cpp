#include "kvrfile/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <system_error>

namespace {

bool readsBackAs(const std::string& text, float value)
{
    float read = 0.0f;
    const std::from_chars_result end = std::from_chars(text.data(), text.data() + text.size(), read);
    return end.ec == std::errc() && read == value;
}

// Whether the value is exactly the decimal that ends in a 5 one digit after
// the digits asked for: a whole multiple of the power of ten of that 5.
bool halfWay(double value, int digits)
{
    char text[64];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific, digits);
    const char* const exponentMark = std::find(text, end.ptr, 'e');
    if (exponentMark == end.ptr || exponentMark[-1] != '5')
        return false;
    int exponent = 0;
    std::from_chars(exponentMark + (exponentMark[1] == '+' ? 2 : 1), end.ptr, exponent);
    const int places = digits - exponent;  // the 5 stands for 5 x 10^-places
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

}  // namespace

std::string formatSignificant(double value, int digits, Halves halves)
{
    // Just beyond the half, to_chars rounds away from zero.
    if (halves == Halves::AwayFromZero && std::isfinite(value) && value != 0.0 && halfWay(value, digits))
        value = std::nextafter(value, std::copysign(std::numeric_limits<double>::infinity(), value));
    char text[64];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, digits);
    return std::string(text, end.ptr);
}

std::string formatSingle(float value)
{
    std::string text;
    for (int digits = 6; digits <= 9; ++digits) {
        text = formatSignificant(value, digits);
        if (!std::isfinite(value) || readsBackAs(text, value))
            break;
    }
    return text;
}
