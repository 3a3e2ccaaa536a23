#include "numbers/NumberRule.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "numbers/DecimalText.h"

namespace numberRule {
namespace {

// What Qt's own parsing of the locale accepts, beyond the decimal text the
// rule names (forms that differ between platforms), within the range of a
// double.
std::optional<double> qtNumber(const QString& text, const QLocale& locale)
{
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

SingleResult toSingle(const DecimalText& number)
{
    const std::string c = number.cForm();
    float value = 0.0f;
    const auto [end, error] = std::from_chars(c.data(), c.data() + c.size(), value);
    if (error == std::errc())
        return {Conversion::Ok, value};
    // Out of range: below the smallest subnormal it is a zero of its sign.
    if (number.isBelowOne())
        return {Conversion::Ok, number.negative ? -0.0f : 0.0f};
    return {Conversion::OutOfRange, 0.0f};
}

}  // namespace

bool isNumber(const QString& text, const QLocale& locale)
{
    return DecimalText::read(text, locale).has_value() || qtNumber(text, locale).has_value();
}

SingleResult toSingle(const QString& text, const QLocale& locale)
{
    if (text.trimmed().isEmpty())
        return {Conversion::Empty, 0.0f};
    if (const std::optional<DecimalText> number = DecimalText::read(text, locale))
        return toSingle(*number);
    const std::optional<double> other = qtNumber(text, locale);
    if (!other)
        return {Conversion::NotANumber, 0.0f};
    const float rounded = static_cast<float>(*other);
    if (!std::isfinite(rounded))
        return {Conversion::OutOfRange, 0.0f};
    return {Conversion::Ok, rounded};
}

IntegerResult toInteger(const QString& text, const QLocale& locale)
{
    if (text.trimmed().isEmpty())
        return {Conversion::Empty, 0, false};
    if (const std::optional<DecimalText> number = DecimalText::read(text, locale)) {
        const RoundedInteger rounded = roundToInteger(*number);
        return {rounded.inRange ? Conversion::Ok : Conversion::OutOfRange, rounded.value, rounded.whole};
    }
    const std::optional<double> other = qtNumber(text, locale);
    if (!other)
        return {Conversion::NotANumber, 0, false};
    const double whole = std::nearbyint(*other);  // the default rounding: half to even
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        return {Conversion::OutOfRange, 0, false};
    return {Conversion::Ok, static_cast<std::int16_t>(whole), whole == *other};
}

}  // namespace numberRule
