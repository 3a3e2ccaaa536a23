#include "numbers/NumberRule.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace numberRule {
namespace {

QLocale strict(const QLocale& locale)
{
    QLocale result = locale;
    result.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    return result;
}

// The text rewritten in the C form that std::from_chars reads, so that the
// Single is rounded once from the decimal text and not twice through a
// double. Empty when a character has no C form.
std::string cForm(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    const QString symbols[][2] = {
        {locale.negativeSign(), QStringLiteral("-")},
        {locale.positiveSign(), QStringLiteral("+")},
        {locale.decimalPoint(), QStringLiteral(".")},
        {locale.exponential(), QStringLiteral("e")},
    };
    std::string out;
    qsizetype i = 0;
    while (i < trimmed.size()) {
        bool matched = false;
        for (const auto& [symbol, c] : symbols) {
            if (!symbol.isEmpty() && trimmed.mid(i).startsWith(symbol, Qt::CaseInsensitive)) {
                out += c.toStdString();
                i += symbol.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const QChar ch = trimmed.at(i);
        if (ch.isDigit())
            out += static_cast<char>('0' + ch.digitValue());
        else if (ch == u'-' || ch == u'+' || ch == u'.')
            out += static_cast<char>(ch.unicode());
        else if (ch == u'e' || ch == u'E')
            out += 'e';
        else
            return {};
        ++i;
    }
    if (!out.empty() && out.front() == '+')
        out.erase(0, 1);  // from_chars takes no leading plus
    return out;
}

}  // namespace

std::optional<double> parse(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = strict(locale).toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

// Empty or NotANumber for a text that cannot be converted at all; Ok with
// its value otherwise.
Conversion classify(const QString& text, const QLocale& locale, double& value)
{
    if (text.trimmed().isEmpty())
        return Conversion::Empty;
    const std::optional<double> number = parse(text, locale);
    if (!number)
        return Conversion::NotANumber;
    value = *number;
    return Conversion::Ok;
}

}  // namespace

SingleResult toSingle(const QString& text, const QLocale& locale)
{
    double number = 0.0;
    if (const Conversion status = classify(text, locale, number); status != Conversion::Ok)
        return {status, 0.0f};

    const std::string c = cForm(text, locale);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(c.data(), c.data() + c.size(), value);
    if (!c.empty() && end == c.data() + c.size() && error == std::errc())
        return {Conversion::Ok, value};
    if (!c.empty() && end == c.data() + c.size() && error == std::errc::result_out_of_range)
        return std::fabs(number) < 1.0 ? SingleResult{Conversion::Ok, std::copysign(0.0f, static_cast<float>(number))}
                                      : SingleResult{Conversion::OutOfRange, 0.0f};

    // No C form: round through the double, which is exact for every text
    // with fewer than 17 significant digits.
    const float rounded = static_cast<float>(number);
    if (!std::isfinite(rounded))
        return {Conversion::OutOfRange, 0.0f};
    return {Conversion::Ok, rounded};
}

IntegerResult toInteger(const QString& text, const QLocale& locale)
{
    double number = 0.0;
    if (const Conversion status = classify(text, locale, number); status != Conversion::Ok)
        return {status, 0};
    const double whole = std::nearbyint(number);  // the default rounding: half to even
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        return {Conversion::OutOfRange, 0};
    return {Conversion::Ok, static_cast<std::int16_t>(whole)};
}

}  // namespace numberRule
