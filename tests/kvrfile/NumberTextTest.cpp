// The numbers the programs print: printf's %g in the C locale, whatever the
// locale, with an exact half rounded as asked; a Single as short as reads back,
// exactly or, for a measured value, to a Single next to it.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>

#include "kvrfile/NumberText.h"

namespace {

struct Significant {
    double value;
    int digits;
    Halves halves;
    const char* text;
};

const Significant significants[] = {
    {10.125, 4, Halves::ToEven, "10.12"},
    {10.125, 4, Halves::AwayFromZero, "10.13"},
    {-2175.625, 6, Halves::AwayFromZero, "-2175.63"},
    {0.0625, 2, Halves::AwayFromZero, "0.063"},
    {12345, 4, Halves::AwayFromZero, "1.235e+04"},
    {9.5, 1, Halves::AwayFromZero, "1e+01"},
    {-0.141635894775390625, 17, Halves::AwayFromZero, "-0.14163589477539063"},
    {0.15, 1, Halves::AwayFromZero, "0.1"},  // the double nearest 0.15 lies below the half
    {100000, 4, Halves::ToEven, "1e+05"},
    {-0.0, 6, Halves::ToEven, "-0"},
};

TEST(NumberText, SignificantDigitsInAnyLocale)
{
    // A locale with a decimal comma: `scripts/bootstrap test` makes it.
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale is not installed";
    const struct RestoreC {
        ~RestoreC() { std::setlocale(LC_ALL, "C"); }
    } restoreC;
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    for (const Significant& c : significants) {
        SCOPED_TRACE(testing::Message() << c.value << " to " << c.digits << " digits");
        EXPECT_EQ(formatSignificant(c.value, c.digits, c.halves), c.text);
    }
}

TEST(NumberText, ASingleAsShortAsReadsBack)
{
    const std::pair<float, const char*> singles[] = {
        {0.1f, "0.1"}, {0.857142866f, "0.85714287"}, {1.0e-45f, "1.4013e-45"}, {16777217.0f, "16777216"}, {-7.5f, "-7.5"},
    };
    for (const auto& [value, text] : singles)
        EXPECT_EQ(formatSingle(value), text) << text;
}

// 18 m / 40 x 3 and x 9, and w x 18 m / 40 with w = 6, made in Singles: each a
// Single off the Single of its decimal.
TEST(NumberText, AQuantityAtThePrecisionOfItsSingle)
{
    const std::pair<float, const char*> quantities[] = {
        {0.45f * 3, "1.35"}, {0.45f * 9, "4.05"}, {-(6.0f * 0.45f), "-2.7"}, {0.857142866f, "0.8571429"},
        {std::nextafter(1.0f, 2.0f), "1"}, {16777217.0f, "16777216"}, {1.0e-45f, "1.4013e-45"}, {0.1f, "0.1"},
    };
    for (const auto& [value, text] : quantities) {
        EXPECT_EQ(formatQuantity(value), text) << text;
        float read = 0;
        std::from_chars(text, text + std::strlen(text), read);
        EXPECT_LE(std::fabs(read - value), std::fabs(std::nextafter(value, 2 * value) - value)) << text << ": a Single or one next to it";
    }
    EXPECT_NE(formatSingle(0.45f * 3), "1.35");  // exactly, it is another Single
}

}  // namespace
