// Load cases on a truss's nodes against statics: a uniform load on the top
// chord sums to w x its length on plan and is shared by tributary length;
// the self-weight sums to the steel's weight, mass per metre x length x g.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "design/SectionTable.h"
#include "kvrfile/TrussFile.h"
#include "loads/CaseLoads.h"
#include "loads/DesignFileReader.h"

namespace {

// A Pratt-numbered truss: bottom nodes 1..n at xs, top nodes n+1..2n above
// them at height h; chords, verticals, and one diagonal per panel.
TrussFileContent prattTruss(const std::vector<float>& xs, float h)
{
    const int n = static_cast<int>(xs.size()), panels = n - 1;
    TrussFileContent t;
    t.noNodes = static_cast<std::int16_t>(2 * n);
    t.noMembers = static_cast<std::int16_t>(4 * panels + 1);
    t.nodes = SingleTable(t.nodeRows(), trussFile::nodeColumns);
    t.members = SingleTable(t.memberRows(), trussFile::memberColumns);
    for (int i = 1; i <= n; ++i) {
        t.nodes(i, NodeColumn::X) = t.nodes(n + i, NodeColumn::X) = xs[i - 1];
        t.nodes(n + i, NodeColumn::Y) = h;
    }
    int m = 0;
    const auto join = [&](int a, int b) {
        ++m;
        t.members(m, MemberColumn::First) = static_cast<float>(a);
        t.members(m, MemberColumn::Second) = static_cast<float>(b);
    };
    for (int i = 1; i < n; ++i) {
        join(i, i + 1);
        join(n + i, n + i + 1);
        join(n + i, i + 1);
    }
    for (int i = 1; i <= n; ++i)
        join(i, n + i);
    return t;
}

double sumFy(const NodeForces& forces)
{
    return std::accumulate(forces.begin(), forces.end(), 0.0, [](double s, const NodeForce& f) { return s + f.fy; });
}

struct Udl {
    const char* name;
    std::vector<float> xs;
    double w;
    std::vector<double> topLoads;  // on the top nodes left to right, worked by hand
};

const Udl udls[] = {
    {"OnePanel", {0, 5}, -2.0, {-5.0, -5.0}},
    {"EqualPanels", {0, 3, 6, 9}, -1.5, {-2.25, -4.5, -4.5, -2.25}},
    {"UnequalPanels", {0, 1, 4}, 1.2, {0.6, 2.4, 1.8}},
    {"NotFromZero", {10, 12, 14}, -1.0, {-1.0, -2.0, -1.0}},
};

void PrintTo(const Udl& row, std::ostream* out) { *out << row.name; }

class TopChordUdl : public ::testing::TestWithParam<Udl> {};

TEST_P(TopChordUdl, SumsToWTimesTheSpanSharedByTributaryLength)
{
    const Udl& row = GetParam();
    const TrussFileContent truss = prattTruss(row.xs, 2.0f);
    const Result<NodeForces> loads = topChordUdlOf(truss, row.w);
    ASSERT_TRUE(loads.value) << loads.error;
    const int n = static_cast<int>(row.xs.size());
    for (int i = 1; i <= n; ++i) {
        EXPECT_EQ((*loads.value)[i].fy, 0.0) << "bottom node " << i;
        EXPECT_NEAR((*loads.value)[n + i].fy, row.topLoads[i - 1], 1e-12) << "top node " << n + i;
    }
    EXPECT_NEAR(sumFy(*loads.value), row.w * (row.xs.back() - row.xs.front()), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(ByTributaryLength, TopChordUdl, ::testing::ValuesIn(udls),
                         [](const auto& info) { return std::string(info.param.name); });

struct Weight {
    const char* name;
    int panels;
    float panel, height;
    const char *top, *bottom, *verticals, *diagonals;
};

const Weight weights[] = {
    {"OneSectionEverywhere", 4, 3.0f, 2.0f, "SHS 100x100x5", "SHS 100x100x5", "SHS 100x100x5", "SHS 100x100x5"},
    {"FourSections", 7, 2.5f, 1.75f, "SHS 120x120x6.3", "SHS 100x100x5", "CHS 60.3x4", "CHS 88.9x4"},
};

void PrintTo(const Weight& row, std::ostream* out) { *out << row.name; }

class SelfWeight : public ::testing::TestWithParam<Weight> {};

TEST_P(SelfWeight, SumsToTheSteelsWeight)
{
    const Weight& row = GetParam();
    std::vector<float> xs;
    for (int i = 0; i <= row.panels; ++i)
        xs.push_back(static_cast<float>(i) * row.panel);
    const auto massOf = [](const char* designation) { return findSection(DesignCode::En1993, designation)->massPerMetre; };
    const GroupSections sections{{MemberGroup::TopChord, findSection(DesignCode::En1993, row.top)},
                                 {MemberGroup::BottomChord, findSection(DesignCode::En1993, row.bottom)},
                                 {MemberGroup::Vertical, findSection(DesignCode::En1993, row.verticals)},
                                 {MemberGroup::Diagonal, findSection(DesignCode::En1993, row.diagonals)}};
    const Result<NodeForces> loads = selfWeightOf(prattTruss(xs, row.height), sections);
    ASSERT_TRUE(loads.value) << loads.error;

    const double span = double(row.panel) * row.panels, h = row.height;
    const double kg = (massOf(row.top) + massOf(row.bottom)) * span + massOf(row.verticals) * (row.panels + 1) * h
                    + massOf(row.diagonals) * row.panels * std::hypot(double(row.panel), h);
    EXPECT_NEAR(sumFy(*loads.value), -kg * 9.80665 / 1000, 1e-6);
    // A corner node takes half of each of its two members.
    const double corner = (massOf(row.bottom) * row.panel + massOf(row.verticals) * h) * 9.80665 / 2000;
    EXPECT_NEAR((*loads.value)[1].fy, -corner, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Sections, SelfWeight, ::testing::ValuesIn(weights),
                         [](const auto& info) { return std::string(info.param.name); });

// What a case cannot give the truss is refused with the design file's line.
TEST(CaseLoads, RefuseWhatTheTrussCannotTake)
{
    const TrussFileContent truss = prattTruss({0, 3, 6}, 2.0f);
    const char* const text = "code = \"en1993\"\n[sections]\ntop = \"SHS 100x100x5\"\n"
                             "[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = true\n"
                             "[[case]]\nname = \"W\"\nkind = \"wind\"\nloads = [ { node = 7, fx = 1 } ]\n";
    Result<DesignFile> design = parseDesignFile(text, "d.toml");
    ASSERT_TRUE(design.value) << design.error;
    EXPECT_EQ(caseLoadsOf(*design.value, truss).error,
              "d.toml:4: [[case]] self_weight: case 'G': no section for the bottom chord (member 1)");
    design.value->cases.erase(design.value->cases.begin());
    EXPECT_EQ(caseLoadsOf(*design.value, truss).error,
              "d.toml:11: [[case]] loads node: case 'W': the truss has no node 7, only 1 to 6");
}

// The file's own loads, a point load and a combination of the cases.
TEST(CaseLoads, SuperposeAsTheCombinationSays)
{
    TrussFileContent truss = prattTruss({0, 3, 6}, 2.0f);
    truss.nodes(5, NodeColumn::Load) = -10.0f;
    const char* const text = "code = \"en1993\"\n[[case]]\nname = \"file\"\nkind = \"permanent\"\n"
                             "[[case]]\nname = \"W\"\nkind = \"wind\"\nloads = [ { node = 5, fx = 2, fy = 4 } ]\n";
    const Result<DesignFile> design = parseDesignFile(text, "d.toml");
    ASSERT_TRUE(design.value) << design.error;
    const Result<std::vector<CaseLoads>> cases = caseLoadsOf(*design.value, truss);
    ASSERT_TRUE(cases.value) << cases.error;
    const NodeForces sum = superposed(std::vector<CombinationTerm>{{1.35, "file"}, {1.5, "W"}}, *cases.value);
    EXPECT_DOUBLE_EQ(sum[5].fx, 3.0);
    EXPECT_DOUBLE_EQ(sum[5].fy, -13.5 + 6.0);
    EXPECT_DOUBLE_EQ(sumFy(sum), -7.5);
}

}  // namespace
