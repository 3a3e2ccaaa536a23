// The numbers the programs print: printf's %g in the C locale, whatever the
// locale, with an exact half rounded as asked; a Single as short as reads back.
#include <gtest/gtest.h>

#include <clocale>

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

}  // namespace
