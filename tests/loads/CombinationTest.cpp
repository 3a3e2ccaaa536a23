// The notation of a combination, "1.35 G + 1.5 Q", written and read back,
// and what the reader refuses.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "loads/Combination.h"

namespace {

const std::vector<std::string> cases{"G", "Q", "W_left", "Lr"};

struct Reading {
    const char* name;
    const char* text;
    const char* written;  // as notationOf writes what was read; nullptr when refused
    const char* error;
};

const Reading readings[] = {
    {"AsWritten", "1.35 G + 1.5 Q + 0.9 W_left", "1.35 G + 1.5 Q + 0.9 W_left", nullptr},
    {"WithoutBlanksOrFactors", "1.35G+Q", "1.35 G + 1.0 Q", nullptr},
    {"WithAMinus", "-1.0 G - 1.5 Lr", "-1.0 G - 1.5 Lr", nullptr},
    {"AWholeFactor", "2 G", "2.0 G", nullptr},
    {"Empty", "  ", nullptr, "combination '  ': it is empty; write it as 1.35 G + 1.5 Q"},
    {"UnknownCase", "1.35 G + 1.5 S", nullptr, "combination '1.35 G + 1.5 S': no case named 'S' (the cases: G, Q, W_left, Lr)"},
    {"CaseTwice", "G + 1.5 G", nullptr, "combination 'G + 1.5 G': G appears twice"},
    {"TrailingPlus", "1.35 G +", nullptr, "combination '1.35 G +': a term is missing at its end"},
    {"FactorWithoutCase", "1.35 G + 1.5", nullptr, "combination '1.35 G + 1.5': a case name is missing after 1.5"},
    {"NoOperator", "1.35 G 1.5 Q", nullptr, "combination '1.35 G 1.5 Q': expected + or - after G, found '1.5'"},
    {"TwoPoints", "1.3.5 G", nullptr, "combination '1.3.5 G': '1.3.5' is not a factor"},
    {"Asterisk", "1.35 * G", nullptr, "combination '1.35 * G': a case name is missing after 1.35, found '*'"},
};

void PrintTo(const Reading& row, std::ostream* out) { *out << row.name; }

class CombinationNotation : public ::testing::TestWithParam<Reading> {};

TEST_P(CombinationNotation, ReadsBackOrIsRefusedInOneLine)
{
    const Reading& row = GetParam();
    const Result<std::vector<CombinationTerm>> read = parseCombination(row.text, cases);
    if (row.written) {
        ASSERT_TRUE(read.value) << read.error;
        EXPECT_EQ(notationOf(*read.value), row.written);
    } else {
        EXPECT_FALSE(read.value);
        EXPECT_EQ(read.error, row.error);
    }
}

INSTANTIATE_TEST_SUITE_P(Notation, CombinationNotation, ::testing::ValuesIn(readings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CombinationNotation, WritesFactorsAsTheCodesTablesDo)
{
    EXPECT_EQ(notationOf(std::vector<CombinationTerm>{{1.35, "G"}, {1.5, "Q"}, {0.9, "W"}}), "1.35 G + 1.5 Q + 0.9 W");
    EXPECT_EQ(notationOf(std::vector<CombinationTerm>{{1.1475, "G"}, {-1.5, "W"}}), "1.1475 G - 1.5 W");
    EXPECT_EQ(notationOf(std::vector<CombinationTerm>{}), "0");
}

}  // namespace
