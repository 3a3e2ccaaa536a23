// Load cases solved together and combined, against statics and against
// solving the summed loads directly; the envelope against the classic
// failure of a light roof designed for gravity alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "TrussSupport.h"
#include "TrussTestSupport.h"
#include "design/SectionTable.h"
#include "loads/DesignFileReader.h"
#include "loads/DesignFileUse.h"
#include "truss/TrussTypes.h"

namespace {

// 8 m span, 1.5 m high, panels of 2 m (pratt(4, ...)); its own loads unused.
const char* const roof = R"(
code = "en1993"
[sections]
top = "SHS 100x100x5"
bottom = "SHS 60x60x4"
web = "SHS 60x60x4"
[[case]]
name = "G"
kind = "permanent"
self_weight = true
udl_top = -0.3
[[case]]
name = "Q"
kind = "imposed"
category = "H"
udl_top = -2.0
[[case]]
name = "W"
kind = "wind"
udl_top = 2.0
loads = [ { node = 9, fx = 4.0, fy = 1.0 } ]
)";

DesignFile roofDesign()
{
    Result<DesignFile> design = parseDesignFile(roof, "roof.toml");
    EXPECT_TRUE(design.value) << design.error;
    return std::move(*design.value);
}

struct Sums {
    double fx = 0, fy = 0, size = 0;
};
Sums sumsOf(const NodeForces& loads)
{
    Sums s;
    for (const NodeForce& f : loads)
        s.fx += f.fx, s.fy += f.fy, s.size += std::fabs(f.fx) + std::fabs(f.fy);
    return s;
}

struct CombinationRow {
    const char* name;
    const char* notation;
};

const CombinationRow combinationRows[] = {
    {"one case", "1.0 G"},
    {"gravity", "1.35 G + 1.5 Q"},
    {"uplift with sway", "1.0 G + 1.5 W"},
    {"all three", "1.35 G + 1.05 Q + 0.9 W"},
    {"a negative factor", "1.0 G - 1.5 W"},
};

class CombinationOfCases : public ::testing::TestWithParam<CombinationRow> {};

// The combination by superposition of the cases solved together is the
// solution of its summed loads solved on their own, within both stated
// accuracies; and its reactions balance the summed loads.
TEST_P(CombinationOfCases, IsTheSolutionOfItsSummedLoadsAndBalancesThem)
{
    const TrussFileContent truss = pratt(4, 0);
    const DesignFile design = roofDesign();
    const Result<std::vector<CaseLoads>> loads = caseLoadsOf(design, truss);
    ASSERT_TRUE(loads.value) << loads.error;
    const Result<std::vector<CaseSolution>> cases = solveCases(truss, *loads.value);
    ASSERT_TRUE(cases.value) << cases.error;
    const Result<std::vector<CombinationTerm>> terms = parseCombination(GetParam().notation, design.caseNames());
    ASSERT_TRUE(terms.value) << terms.error;
    const TrussSolution sum = combinedSolution(*terms.value, *cases.value);

    const NodeForces summed = superposed(*terms.value, *loads.value);
    TrussAnalysis direct = std::move(solveTruss(truss, std::span(&summed, 1)).front());
    ASSERT_TRUE(direct.value) << direct.error;
    for (int m = 1; m <= truss.noMembers; ++m)
        EXPECT_NEAR(sum.members[std::size_t(m)].force, direct.value->members[std::size_t(m)].force,
                    sum.accuracy.force + direct.value->accuracy.force)
            << "member " << m;

    const Sums s = sumsOf(summed);
    double rx = 0, ry = 0, moment = 0;  // about node 1, the pin
    for (int n = 1; n <= truss.noNodes; ++n) {
        const NodeResult& r = sum.nodes[std::size_t(n)];
        const NodeForce& f = summed[std::size_t(n)];
        const double x = truss.node(n, NodeColumn::X) - truss.node(1, NodeColumn::X), y = truss.node(n, NodeColumn::Y) - truss.node(1, NodeColumn::Y);
        rx += r.rx, ry += r.ry;
        moment += x * (f.fy + r.ry) - y * (f.fx + r.rx);
    }
    const double tolerance = 1e-9 * s.size;
    EXPECT_NEAR(rx, -s.fx, tolerance);
    EXPECT_NEAR(ry, -s.fy, tolerance);
    EXPECT_NEAR(moment, 0.0, tolerance * 8);
}

INSTANTIATE_TEST_SUITE_P(Loads, CombinationOfCases, ::testing::ValuesIn(combinationRows), ByRowName{});

// Solved together, each case is exactly what it is solved alone.
TEST(LoadCases, SolvedTogetherAreEachAsSolvedAlone)
{
    const TrussFileContent truss = pratt(4, 0);
    const Result<std::vector<CaseLoads>> loads = caseLoadsOf(roofDesign(), truss);
    ASSERT_TRUE(loads.value) << loads.error;
    const Result<std::vector<CaseSolution>> together = solveCases(truss, *loads.value);
    ASSERT_TRUE(together.value) << together.error;
    for (const CaseLoads& c : *loads.value) {
        const Result<std::vector<CaseSolution>> alone = solveCases(truss, std::span(&c, 1));
        ASSERT_TRUE(alone.value) << alone.error;
        const TrussSolution& a = alone.value->front().solution;
        const TrussSolution& b = std::find_if(together.value->begin(), together.value->end(), [&](const CaseSolution& s) { return s.name == c.name; })->solution;
        for (std::size_t m = 1; m < a.members.size(); ++m)
            EXPECT_EQ(a.members[m].force, b.members[m].force) << c.name << " member " << m;
    }
}

// Self-weight's reactions carry the steel's weight: mass per metre (EN
// 10210-2's tables) x the members' lengths x g.
TEST(LoadCases, SelfWeightReactionsCarryTheSteelsWeight)
{
    const TrussFileContent truss = pratt(4, 0);
    DesignFile design = roofDesign();
    design.cases.resize(1);
    design.cases.front().udlTop.reset();
    const Result<EnvelopeStudy> study = designForEnvelope(design, truss);
    ASSERT_TRUE(study.value) << study.error;
    double length[3] = {0, 0, 0};  // top, bottom, web
    for (int m = 1; m <= truss.noMembers; ++m) {
        const int a = nodeNumber(truss, m, MemberColumn::First), b = nodeNumber(truss, m, MemberColumn::Second);
        const double dx = truss.node(b, NodeColumn::X) - truss.node(a, NodeColumn::X), dy = truss.node(b, NodeColumn::Y) - truss.node(a, NodeColumn::Y);
        const MemberGroup g = groupOf(truss, m);
        length[g == MemberGroup::TopChord ? 0 : g == MemberGroup::BottomChord ? 1 : 2] += std::hypot(dx, dy);
    }
    EXPECT_NEAR(length[0] + length[1], 16.0, 1e-5);
    const double kg = 14.7 * length[0] + 6.90 * (length[1] + length[2]);  // EN 10210-2: SHS 100x100x5, SHS 60x60x4
    double ry = 0;
    for (const NodeResult& r : study.value->cases.front().solution.nodes)
        ry += r.ry;
    EXPECT_NEAR(ry, kg * 9.80665 / 1000, 0.01 * kg * 9.80665 / 1000);  // the tables' masses to 3 digits
}

// A light roof: gravity alone puts the bottom chord in tension; the wind's
// uplift with the favourable dead load (1.0 G + 1.5 W) puts it in
// compression, and that governs it.
TEST(Envelope, WindUpliftMakesTheBottomChordGovernInCompression)
{
    const TrussFileContent truss = pratt(4, 0);
    DesignFile design = roofDesign();
    design.cases.back().loads.clear();
    design.cases.back().udlTop = 6.0;
    const Result<EnvelopeStudy> study = designForEnvelope(design, truss);
    ASSERT_TRUE(study.value) << study.error;
    const EnvelopeDesign& e = study.value->envelope;
    const int member = e.design.governingMember(MemberGroup::BottomChord);
    ASSERT_GT(member, 0);
    const MemberDesign& governing = e.design.members[std::size_t(member - 1)];
    EXPECT_LT(governing.force, 0.0);
    const CheckKind kind = governing.verdict().governing;
    EXPECT_TRUE(kind == CheckKind::BucklingInPlane || kind == CheckKind::BucklingOutOfPlane) << checkKindName(kind);
    EXPECT_EQ(notationOf(e.combinations[std::size_t(e.governing[std::size_t(member)])].terms), "1.0 G + 1.5 W");
}

// A member no check covers (a Class 4 tube) is shown with its largest
// force, the combination of the most compression: 1.35 G + 1.5 Q.
TEST(Envelope, AMemberNotCheckedShowsItsLargestForce)
{
    const TrussFileContent truss = pratt(4, 0);
    DesignFile design = roofDesign();
    design.sections[MemberGroup::Vertical] = findSection(DesignCode::En1993, "CHS 323.9x5");
    design.cases.back().loads.clear();
    const Result<EnvelopeStudy> study = designForEnvelope(design, truss);
    ASSERT_TRUE(study.value) << study.error;
    const EnvelopeDesign& e = study.value->envelope;
    const int member = e.design.governingMember(MemberGroup::Vertical);
    ASSERT_GT(member, 0);
    const MemberDesign& shown = e.design.members[std::size_t(member - 1)];
    EXPECT_EQ(shown.verdict().governing, CheckKind::NotChecked);
    EXPECT_EQ(notationOf(e.combinations[std::size_t(e.governing[std::size_t(member)])].terms), "1.35 G + 1.5 Q");
    for (const Combination& c : e.combinations)
        EXPECT_GE(std::fabs(shown.force) + 1e-9, std::fabs(combinedSolution(c.terms, study.value->cases).members[std::size_t(member)].force))
            << c.name;
}

// A uniform load on plan over the roof is w times the truss's length on
// every type, the top chord reaching the supports or not (a Warren truss's
// stops half a panel short).
class UdlOnEveryType : public ::testing::TestWithParam<TrussTypeInfo> {};

TEST_P(UdlOnEveryType, SumsToTheLoadTimesTheSpan)
{
    const TrussTypeInfo& type = GetParam();
    RecordingSink sink;
    clsTruss truss(sink);
    std::int16_t panels = type.panels.smallest;  // at least 6 where the type takes that many
    while (panels < 6 && panels < type.panels.largest)
        panels = std::int16_t(panels + type.panels.step);
    truss.setParameters({.config = std::int32_t(type.type), .topE = 210, .btmE = 210, .webE = 210, .topA = 1000, .btmA = 1000,
                         .webA = 1000, .loadType = clsTruss::uniformLoad, .loadValue = 1, .L = 12, .h = 2, .np = panels});
    truss.generate();
    const Result<NodeForces> loads = topChordUdlOf(truss.file(), -1.0);
    ASSERT_TRUE(loads.value) << loads.error;
    EXPECT_NEAR(sumsOf(*loads.value).fy, -12.0, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Loads, UdlOnEveryType, ::testing::ValuesIn(trussTypes().begin(), trussTypes().end()),
                         [](const auto& info) { return testNameOf(info.param.name); });

}  // namespace
