// The combinations generated for a roof with G, Q, S and W against tables
// written out by hand from the codes: EN 1990 eq. 6.10, 6.10a/6.10b and
// 6.14b with Table A1.2(B) (gammaG 1.35 / 1.00, gammaQ 1.5, xi 0.85) and
// Table A1.1 (psi0: imposed category H 0, snow 0.5, wind 0.6); ASCE 7-16
// 2.3.1 (1) to (5) and D + L for deflection. Every variable load is also
// left out (favourable, or not acting); a combination that is another
// scaled down (1.00 G beside 1.35 G, 1.2 D beside 1.4 D) cannot govern.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "loads/GeneratedCombinations.h"

namespace {

LoadCase loadCase(const char* name, LoadKind kind, char category = 0)
{
    LoadCase c;
    c.name = name;
    c.kind = kind;
    c.category = category;
    return c;
}

struct Generated {
    const char* name;
    DesignCode code;
    En1990Equation equation;
    std::vector<LoadCase> cases;
    std::set<std::string> uls, sls;
};

const LoadCase G = loadCase("G", LoadKind::Permanent), Q = loadCase("Q", LoadKind::Imposed, 'H'),
               S = loadCase("S", LoadKind::Snow), W = loadCase("W", LoadKind::Wind);
const LoadCase D = loadCase("D", LoadKind::Permanent), L = loadCase("L", LoadKind::Imposed);

const Generated rows[] = {
    {"En1990Eq610", DesignCode::En1993, En1990Equation::Eq610, {G, Q, S, W},
     {"1.35 G + 1.5 Q + 0.75 S + 0.9 W", "1.35 G + 1.5 S + 0.9 W", "1.35 G + 0.75 S + 1.5 W", "1.35 G + 1.5 Q + 0.75 S",
      "1.35 G + 1.5 Q + 0.9 W", "1.35 G + 1.5 Q", "1.35 G + 1.5 S", "1.35 G + 1.5 W", "1.35 G",
      "1.0 G + 1.5 Q + 0.75 S + 0.9 W", "1.0 G + 1.5 S + 0.9 W", "1.0 G + 0.75 S + 1.5 W", "1.0 G + 1.5 Q + 0.75 S",
      "1.0 G + 1.5 Q + 0.9 W", "1.0 G + 1.5 Q", "1.0 G + 1.5 S", "1.0 G + 1.5 W"},
     {"1.0 G + 1.0 Q + 0.5 S + 0.6 W", "1.0 G + 1.0 S + 0.6 W", "1.0 G + 0.5 S + 1.0 W", "1.0 G + 1.0 Q + 0.5 S",
      "1.0 G + 1.0 Q + 0.6 W", "1.0 G + 1.0 Q", "1.0 G + 1.0 S", "1.0 G + 1.0 W", "1.0 G"}},
    {"En1990Eq610aAnd610b", DesignCode::En1993, En1990Equation::Eq610ab, {G, S, W},
     {"1.35 G + 0.75 S + 0.9 W", "1.35 G + 0.75 S", "1.35 G + 0.9 W", "1.35 G",  // 6.10a
      "1.0 G + 0.75 S + 0.9 W", "1.0 G + 0.75 S", "1.0 G + 0.9 W",
      "1.1475 G + 1.5 S + 0.9 W", "1.1475 G + 0.75 S + 1.5 W", "1.1475 G + 1.5 S", "1.1475 G + 1.5 W",  // 6.10b
      "1.0 G + 1.5 S + 0.9 W", "1.0 G + 0.75 S + 1.5 W", "1.0 G + 1.5 S", "1.0 G + 1.5 W"},
     {"1.0 G + 1.0 S + 0.6 W", "1.0 G + 0.5 S + 1.0 W", "1.0 G + 1.0 S", "1.0 G + 1.0 W", "1.0 G"}},
    {"Asce7", DesignCode::Aisc360, En1990Equation::Eq610, {D, L, S, W},
     {"1.4 D",                                                      // (1)
      "1.2 D + 1.6 L + 0.5 S", "1.2 D + 1.6 L", "1.2 D + 0.5 S",    // (2)
      "1.2 D + 1.0 L + 1.6 S", "1.2 D + 1.6 S + 0.5 W", "1.2 D + 1.6 S", "1.2 D + 1.0 L", "1.2 D + 0.5 W",  // (3)
      "1.2 D + 1.0 L + 0.5 S + 1.0 W", "1.2 D + 1.0 L + 1.0 W", "1.2 D + 0.5 S + 1.0 W", "1.2 D + 1.0 L + 0.5 S",
      "1.2 D + 1.0 W",                                              // (4)
      "0.9 D + 1.0 W"},                                             // (5)
     {"1.0 D + 1.0 L", "1.0 D"}},
};

void PrintTo(const Generated& row, std::ostream* out) { *out << row.name; }

class GeneratedCombinations : public ::testing::TestWithParam<Generated> {};

TEST_P(GeneratedCombinations, AreTheCodesTableWrittenByHand)
{
    const Generated& row = GetParam();
    DesignFile design;
    design.code = row.code;
    design.equation = row.equation;
    design.cases = row.cases;
    const std::vector<Combination> all = combinationsOf(design);
    std::multiset<std::string> uls, sls;
    for (const Combination& c : all) {
        (c.limitState == LimitState::Ultimate ? uls : sls).insert(notationOf(c.terms));
        // Written out, each reads back as itself.
        const Result<std::vector<CombinationTerm>> back = parseCombination(notationOf(c.terms), design.caseNames());
        ASSERT_TRUE(back.value) << back.error;
        EXPECT_EQ(notationOf(*back.value), notationOf(c.terms));
    }
    EXPECT_EQ(uls, std::multiset<std::string>(row.uls.begin(), row.uls.end()));
    EXPECT_EQ(sls, std::multiset<std::string>(row.sls.begin(), row.sls.end()));
    EXPECT_EQ(all.front().name, "ULS 1");
    EXPECT_EQ(all.back().name, "SLS " + std::to_string(row.sls.size()));
}

INSTANTIATE_TEST_SUITE_P(RoofWithFourCases, GeneratedCombinations, ::testing::ValuesIn(rows),
                         [](const auto& info) { return std::string(info.param.name); });

// Two wind cases are alternatives, never together; the engineer's own
// combinations follow the generated ones.
TEST(GeneratedCombinations, TakeAlternativeCasesOfOneKindInTurnThenTheEngineersOwn)
{
    DesignFile design;
    design.cases = {G, loadCase("W1", LoadKind::Wind), loadCase("W2", LoadKind::Wind)};
    design.ownCombinations = {{"uplift", LimitState::Ultimate, {{1.0, "G"}, {1.6, "W2"}}, "design file"}};
    std::vector<std::string> uls;
    for (const Combination& c : combinationsOf(design))
        if (c.limitState == LimitState::Ultimate)
            uls.push_back(notationOf(c.terms));
    EXPECT_EQ(uls, (std::vector<std::string>{"1.35 G + 1.5 W1", "1.35 G + 1.5 W2", "1.35 G", "1.0 G + 1.5 W1",
                                             "1.0 G + 1.5 W2", "1.0 G + 1.6 W2"}));
}

struct Psi {
    const char* name;
    LoadKind kind;
    char category;
    double psi0;
};

// EN 1990 Table A1.1.
const Psi table11[] = {
    {"DomesticA", LoadKind::Imposed, 'A', 0.7}, {"OfficeB", LoadKind::Imposed, 'B', 0.7},
    {"CongregationC", LoadKind::Imposed, 'C', 0.7}, {"ShoppingD", LoadKind::Imposed, 'D', 0.7},
    {"StorageE", LoadKind::Imposed, 'E', 1.0}, {"TrafficF", LoadKind::Imposed, 'F', 0.7},
    {"TrafficG", LoadKind::Imposed, 'G', 0.7}, {"RoofH", LoadKind::Imposed, 'H', 0.0},
    {"SnowBelow1000m", LoadKind::Snow, 0, 0.5}, {"Wind", LoadKind::Wind, 0, 0.6},
};

void PrintTo(const Psi& row, std::ostream* out) { *out << row.name; }

class Psi0 : public ::testing::TestWithParam<Psi> {};

TEST_P(Psi0, IsTableA11s)
{
    const Psi& row = GetParam();
    EXPECT_EQ(psi0Of(loadCase("X", row.kind, row.category)), row.psi0);
}

INSTANTIATE_TEST_SUITE_P(En1990TableA11, Psi0, ::testing::ValuesIn(table11),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
