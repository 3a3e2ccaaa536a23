// The deflection under the serviceability combinations against the unit-load
// method on a truss of three members.
#include <gtest/gtest.h>

#include <cmath>

#include "TrussTestSupport.h"
#include "loads/CaseLoads.h"
#include "loads/DesignFileReader.h"
#include "loads/GeneratedCombinations.h"
#include "loads/ServiceabilityDeflection.h"

namespace {

// Pin at (0, 0), roller at (4, 0), apex at (2, 1.5); EA = 210 000 kN. Under
// P at the apex the rafters (2.5 m, sin 0.6) carry -P / (2 sin) and the tie
// (4 m) P cot / 2, so by virtual work the apex drops
// sum N n L / EA = P (2 x 2.5 / 1.44 + 4 x 4/9) / EA = 5.25 P / EA.
TrussFileContent triangle()
{
    TrussFileContent t;
    t.noNodes = 3;
    t.noMembers = 3;
    t.noMax = 3;
    t.nodes = SingleTable(t.nodeRows(), trussFile::nodeColumns);
    t.members = SingleTable(t.memberRows(), trussFile::memberColumns);
    const float nodes[3][3] = {{0, 0, 1}, {4, 0, 2}, {2, 1.5f, 0}};
    const float members[3][2] = {{1, 2}, {1, 3}, {2, 3}};
    for (std::size_t i = 0; i < 3; ++i) {
        t.nodes(i + 1, NodeColumn::X) = nodes[i][0];
        t.nodes(i + 1, NodeColumn::Y) = nodes[i][1];
        t.nodes(i + 1, NodeColumn::Support) = nodes[i][2];
        t.members(i + 1, MemberColumn::First) = members[i][0];
        t.members(i + 1, MemberColumn::Second) = members[i][1];
        t.members(i + 1, MemberColumn::E) = 210;
        t.members(i + 1, MemberColumn::A) = 1000;
    }
    return t;
}
constexpr double apexDrop = 5.25 / 210000.0;  // m per kN at the apex

struct DeflectionRow {
    const char* name;
    int g, q, w;          // kN at the apex, upwards positive
    double limit;         // span / limit
    const char* governs;  // the combination of the largest vertical deflection
    double apexLoad;      // kN, its total
    bool holds;           // 4000 mm / limit against 5.25 |apexLoad| / 210 mm
};

const DeflectionRow deflectionRows[] = {
    {"gravity governs and holds", -10, -20, 5, 300, "1.0 G + 1.0 Q", -30, true},
    {"uplift governs and does not hold", -10, -5, 40, 10000, "1.0 G + 1.0 W", 30, false},
};

class ServiceabilityDeflectionOf : public ::testing::TestWithParam<DeflectionRow> {};

TEST_P(ServiceabilityDeflectionOf, IsTheUnitLoadMethodsForTheLargestCombination)
{
    const DeflectionRow& row = GetParam();
    const auto apexCase = [](const char* head, int fy) {
        return std::string("[[case]]\n") + head + "\nloads = [ { node = 3, fy = " + std::to_string(fy) + " } ]\n";
    };
    const std::string toml = "code = \"en1993\"\n" + apexCase("name = \"G\"\nkind = \"permanent\"", row.g)
                             + apexCase("name = \"Q\"\nkind = \"imposed\"\ncategory = \"A\"", row.q)
                             + apexCase("name = \"W\"\nkind = \"wind\"", row.w);
    const Result<DesignFile> design = parseDesignFile(toml, "apex.toml");
    ASSERT_TRUE(design.value) << design.error;
    const TrussFileContent truss = triangle();
    const Result<std::vector<CaseLoads>> loads = caseLoadsOf(*design.value, truss);
    ASSERT_TRUE(loads.value) << loads.error;
    const Result<std::vector<CaseSolution>> cases = solveCases(truss, *loads.value);
    ASSERT_TRUE(cases.value) << cases.error;
    const std::vector<Combination> combinations = combinationsOf(*design.value);

    const std::optional<ServiceabilityDeflection> sls = serviceabilityDeflection(truss, *cases.value, combinations, row.limit);
    ASSERT_TRUE(sls);
    const CombinationDeflection& governing = sls->governing();
    EXPECT_EQ(notationOf(combinations[governing.combination].terms), row.governs);
    EXPECT_EQ(combinations[governing.combination].limitState, LimitState::Serviceability);
    EXPECT_EQ(governing.deflection.verticalAt, 3);
    EXPECT_NEAR(governing.deflection.vertical, apexDrop * row.apexLoad, 1e-9 * apexDrop * std::fabs(row.apexLoad));
    EXPECT_DOUBLE_EQ(sls->allowed(), 4.0 / row.limit);
    EXPECT_EQ(sls->holds(), row.holds);
}

INSTANTIATE_TEST_SUITE_P(Loads, ServiceabilityDeflectionOf, ::testing::ValuesIn(deflectionRows), ByRowName{});

}  // namespace
