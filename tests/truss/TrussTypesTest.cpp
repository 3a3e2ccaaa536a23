// The truss types against statics: the project's solver on each type's file
// gives the reactions and the chord forces that the method of sections
// gives, the loads are w times each node's length of span, no type is a
// mechanism, and the groups read from the file are the ones built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "TrussTestSupport.h"
#include "analysis/Rigidity.h"
#include "analysis/TrussSolver.h"
#include "kvrfile/TrussStructure.h"
#include "truss/TrussLayout.h"
#include "truss/TrussTypes.h"

void PrintTo(const TrussTypeInfo& type, std::ostream* out) { *out << type.name; }

namespace {

constexpr float w = 10.0f, P = 3.5f;

TrussParameters inputOf(TrussType type, int np, float L = 12.0f, float h = 2.0f, std::int32_t loadType = clsTruss::uniformLoad)
{
    TrussParameters input = windowStart();
    input.config = static_cast<std::int32_t>(type);
    input.np = static_cast<std::int16_t>(np);
    input.L = L;
    input.h = h;
    input.loadType = loadType;
    input.loadValue = loadType == clsTruss::uniformLoad ? w : P;
    return input;
}

// As the file's bytes give it back.
TrussFileContent built(const TrussParameters& input)
{
    RecordingSink sink;
    clsTruss truss(sink);
    truss.setParameters(input);
    truss.generate();
    EXPECT_TRUE(sink.messages.empty());
    return readBack(encoded(truss));
}

struct Point {
    double x, y;
};
Point at(const TrussFileContent& t, int n) { return {t.node(n, NodeColumn::X), t.node(n, NodeColumn::Y)}; }
int end(const TrussFileContent& t, int m, int column) { return static_cast<int>(t.member(m, column)); }

// A vertical section at cut (of the span) through a chord member; the other
// members it cuts meet at the centre (of the span, of the height), a node.
// In a K truss the centre is the K's point, where the two diagonals meet:
// its balance across makes the other chord's force equal and opposite, so
// that the chord's lever about it counts twice.
struct Section {
    const char* name;
    TrussType type;
    int np;
    MemberGroup chord;
    double cut, centreX, centreY;
    int diagonals;  // under gravity loads: +1 all in tension, -1 all in compression (a crossed pair's
                    // noise of Single coordinates aside), 0 either
    double levers = 1;
};

void PrintTo(const Section& s, std::ostream* out) { *out << s.name; }

using G = MemberGroup;
using T = TrussType;

const Section sections[] = {
    {"pratt top chord", T::Pratt, 4, G::TopChord, 3.0 / 8, 1.0 / 2, 0, +1},
    {"howe bottom chord", T::Howe, 4, G::BottomChord, 3.0 / 8, 1.0 / 2, 1, -1},
    {"howe of 7 bottom chord", T::Howe, 7, G::BottomChord, 5.0 / 14, 3.0 / 7, 1, -1},
    {"warren top chord", T::Warren, 4, G::TopChord, 7.0 / 16, 1.0 / 2, 0, 0},
    {"warren of 5 bottom chord", T::Warren, 5, G::BottomChord, 0.45, 1.0 / 2, 1, 0},
    {"warren verticals top chord", T::WarrenVerticals, 4, G::TopChord, 3.0 / 8, 1.0 / 2, 0, 0},
    {"k bottom chord", T::K, 4, G::BottomChord, 3.0 / 8, 1.0 / 4, 0.5, 0, 2},
    {"k of 6 top chord", T::K, 6, G::TopChord, 5.0 / 12, 1.0 / 3, 0.5, 0, 2},
    {"pratt roof bottom chord", T::PrattRoof, 4, G::BottomChord, 3.0 / 8, 1.0 / 2, 1, +1},
    {"pratt roof of 8 top chord", T::PrattRoof, 8, G::TopChord, 7.0 / 16, 3.0 / 8, 0, +1},
    {"howe roof bottom chord", T::HoweRoof, 4, G::BottomChord, 3.0 / 8, 1.0 / 4, 0.5, -1},
    {"howe roof of 6 top chord", T::HoweRoof, 6, G::TopChord, 5.0 / 12, 1.0 / 2, 0, -1},
    {"fink bottom chord", T::Fink, 4, G::BottomChord, 0.45, 1.0 / 2, 1, 0},
    {"fink of 8 top chord", T::Fink, 8, G::TopChord, 0.47, 7.0 / 16, 0, 0},
    {"king post top chord", T::KingPost, 4, G::TopChord, 3.0 / 8, 1.0 / 2, 0, 0},
    {"queen post bottom chord", T::QueenPost, 4, G::BottomChord, 5.0 / 12, 1.0 / 2, 1, 0},
    {"fan top chord", T::Fan, 6, G::TopChord, 5.0 / 12, 1.0 / 3, 0, 0},
};

class Statics : public testing::TestWithParam<Section> {};

TEST_P(Statics, ReactionsAndTheChordForceAtMidSpan)
{
    const Section& s = GetParam();
    const float L = 12.0f, h = 2.5f;
    const TrussFileContent t = built(inputOf(s.type, s.np, L, h));
    const TrussAnalysis analysis = solveTruss(t);
    ASSERT_TRUE(analysis.value) << analysis.error;
    const TrussSolution& solution = *analysis.value;

    // The chord member cut, and the centre.
    int chord = 0, centre = 0;
    const double cut = s.cut * L;
    for (int m = 1; m <= t.noMembers; ++m) {
        const double a = at(t, end(t, m, MemberColumn::First)).x, b = at(t, end(t, m, MemberColumn::Second)).x;
        if (groupOf(t, m) == s.chord && std::min(a, b) < cut && cut < std::max(a, b))
            chord = m;
    }
    for (int n = 1; n <= t.noNodes; ++n)
        if (std::hypot(at(t, n).x - s.centreX * L, at(t, n).y - s.centreY * h) < 1e-5 * L)
            centre = n;
    ASSERT_NE(chord, 0);
    ASSERT_NE(centre, 0);

    // Statics: the reactions of a simple beam, then the moments about the
    // centre of all that acts on the part left of the section.
    const Point c = at(t, centre);
    double total = 0, aboutPin = 0, moment = 0;
    for (int n = 1; n <= t.noNodes; ++n) {
        total += t.node(n, NodeColumn::Load);
        aboutPin += t.node(n, NodeColumn::Load) * at(t, n).x;
    }
    const double pinReaction = -(total - aboutPin / L);
    moment += (0 - c.x) * pinReaction;
    for (int n = 1; n <= t.noNodes; ++n)
        if (at(t, n).x < cut)
            moment += (at(t, n).x - c.x) * t.node(n, NodeColumn::Load);
    const Point left = at(t, end(t, chord, MemberColumn::First)), right = at(t, end(t, chord, MemberColumn::Second));
    const double length = std::hypot(right.x - left.x, right.y - left.y);
    const double ux = (right.x - left.x) / length, uy = (right.y - left.y) / length;
    const double lever = (left.x - c.x) * uy - (left.y - c.y) * ux;
    const double expected = -moment / (s.levers * lever);

    const double scale = w * L * L / 8 / h;
    EXPECT_NEAR(solution.members[std::size_t(chord)].force, expected, 1e-9 * scale) << "member " << chord;
    EXPECT_NEAR(pinReaction, w * L / 2, 1e-6 * w * L) << "the loads come to w L";
    EXPECT_NEAR(solution.nodes[1].ry, w * L / 2, 1e-6 * w * L);
    EXPECT_NEAR(solution.nodes[1].rx, 0.0, 1e-9 * w * L);
    for (int n = 2; n <= t.noNodes; ++n)
        if (t.node(n, NodeColumn::Support) == SupportCode::Roller) {
            EXPECT_NEAR(solution.nodes[std::size_t(n)].ry, w * L / 2, 1e-6 * w * L) << "roller at node " << n;
        }
    for (int m = 1; m <= t.noMembers; ++m)
        if (s.diagonals != 0 && groupOf(t, m) == MemberGroup::Diagonal) {
            EXPECT_GE(s.diagonals * solution.members[std::size_t(m)].force, -1e-6 * scale) << "diagonal " << m;
        }
}

INSTANTIATE_TEST_SUITE_P(EveryType, Statics, testing::ValuesIn(sections), ByRowName());

// The loads in order along the span, as shares of w L: each node's length
// of span on plan, half way to its neighbours and to the span's end beyond
// the outermost; P at every node, half over a support.
struct Loads {
    const char* name;
    TrussType type;
    int np;
    std::vector<double> shares;
};

void PrintTo(const Loads& c, std::ostream* out) { *out << c.name; }

const std::vector<double> quarters{1.0 / 8, 1.0 / 4, 1.0 / 4, 1.0 / 4, 1.0 / 8};

const Loads loads[] = {
    {"pratt", T::Pratt, 4, quarters},
    {"howe", T::Howe, 4, quarters},
    {"warren", T::Warren, 4, {1.0 / 4, 1.0 / 4, 1.0 / 4, 1.0 / 4}},
    {"warren verticals", T::WarrenVerticals, 4, quarters},
    {"k", T::K, 4, quarters},
    {"pratt roof", T::PrattRoof, 4, quarters},
    {"howe roof", T::HoweRoof, 4, quarters},
    {"fink", T::Fink, 4, quarters},
    {"king post", T::KingPost, 4, quarters},
    {"queen post", T::QueenPost, 4, {1.0 / 6, 1.0 / 4, 1.0 / 6, 1.0 / 4, 1.0 / 6}},
    {"fan", T::Fan, 6, {1.0 / 12, 1.0 / 6, 1.0 / 6, 1.0 / 6, 1.0 / 6, 1.0 / 6, 1.0 / 12}},
};

class TopChordLoads : public testing::TestWithParam<Loads> {};

TEST_P(TopChordLoads, AreTheNodesLengthsOfSpanOrP)
{
    const Loads& c = GetParam();
    const float L = 9.0f;
    for (const std::int32_t loadType : {clsTruss::uniformLoad, clsTruss::pointLoads}) {
        const TrussFileContent t = built(inputOf(c.type, c.np, L, 1.5f, loadType));
        std::vector<std::pair<double, double>> loaded;  // x, load
        for (int n = 1; n <= t.noNodes; ++n)
            if (t.node(n, NodeColumn::Load) != 0.0f)
                loaded.emplace_back(at(t, n).x, t.node(n, NodeColumn::Load));
        std::sort(loaded.begin(), loaded.end());
        ASSERT_EQ(loaded.size(), c.shares.size());
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            const bool overSupport = loaded[i].first == 0.0 || loaded[i].first == L;
            const double expected = loadType == clsTruss::uniformLoad ? -c.shares[i] * w * L : overSupport ? -P / 2 : -P;
            EXPECT_NEAR(loaded[i].second, expected, 1e-6 * std::fabs(expected)) << "load " << i << " at x = " << loaded[i].first;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryType, TopChordLoads, testing::ValuesIn(loads), ByRowName());


class EveryType : public testing::TestWithParam<TrussTypeInfo> {};

// From the smallest count the type takes to the largest: the counts of the
// file, a truss that stands, and the groups read from the file those built.
TEST_P(EveryType, StandsFromItsSmallestToItsLargestPanelCount)
{
    const TrussTypeInfo& type = GetParam();
    const PanelRule rule = type.panels;
    std::vector<int> counts;
    for (int i = 0; i < 4; ++i)
        counts.push_back(std::min<int>(rule.smallest + i * rule.step, rule.largest));
    counts.push_back(rule.largest);
    counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
    for (const int np : counts) {
        SCOPED_TRACE(testing::Message() << np << " panels");
        const TrussFileContent t = built(inputOf(type.type, np));
        EXPECT_EQ(t.noNodes, type.nodes(np));
        EXPECT_EQ(t.noMembers, type.members(np));
        EXPECT_EQ(rigidityOf(t).verdict, Rigidity::Verdict::Stands);
        EXPECT_EQ(panelsOf(t), np);
        if (type.type == TrussType::Pratt)
            continue;
        const TrussLayout layout = type.pitched ? roofLayout(type.type, np) : parallelLayout(type.type, np);
        int differing = 0;
        for (int m = 1; m <= t.noMembers; ++m)
            differing += groupOf(t, m) != layout.members[std::size_t(m) - 1].group;
        EXPECT_EQ(differing, 0) << "members whose group read from the file is not the one built";
    }
}

// Any other count is refused, naming those the type takes, and the truss
// built before stays as it was.
TEST_P(EveryType, RefusesAPanelCountItCannotTake)
{
    const TrussTypeInfo& type = GetParam();
    const PanelRule rule = type.panels;
    RecordingSink sink;
    clsTruss truss(sink);
    truss.setParameters(inputOf(type.type, rule.smallest));
    truss.generate();
    const QByteArray before = encoded(truss);
    std::vector<int> refused{rule.smallest - 1, rule.largest + 1};
    if (rule.step == 2)
        refused.push_back(rule.smallest + 1);
    for (const int np : refused) {
        SCOPED_TRACE(testing::Message() << np << " panels");
        if (type.type == TrussType::Pratt)
            break;  // Pratt's own failures: BuilderTest
        truss.setNp(static_cast<std::int16_t>(np));
        try {
            truss.generate();
            ADD_FAILURE() << "built";
        } catch (const TrussBuildError& e) {
            EXPECT_EQ(e.kind(), TrussBuildError::Kind::PanelsNotTaken);
            EXPECT_NE(std::string(e.what()).find(std::to_string(rule.largest) + (rule.fixed() ? " panels only" : "")), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(encoded(truss), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, EveryType, testing::ValuesIn(trussTypes().begin(), trussTypes().end()), ByRowName());

// A span, height, E or A that cannot make a truss is refused by the types
// beside Pratt (which builds them as given), as is a load beyond Single,
// before anything is built.
TEST(TrussTypes, RefuseSizesOnWhichNoTrussStands)
{
    using K = TrussBuildError::Kind;
    const std::tuple<const char*, void (*)(TrussParameters&), K> cases[] = {
        {"height 0", [](TrussParameters& in) { in.h = 0.0f; }, K::NotPositive},
        {"negative span", [](TrussParameters& in) { in.L = -6.0f; }, K::NotPositive},
        {"web area 0", [](TrussParameters& in) { in.webA = 0.0f; }, K::NotPositive},
        {"w times the span beyond Single", [](TrussParameters& in) { in.L = 3e38f; in.loadValue = 30.0f; }, K::Overflow},
    };
    for (const auto& [name, spoil, kind] : cases) {
        SCOPED_TRACE(name);
        TrussParameters input = inputOf(TrussType::Fink, 4);
        spoil(input);
        RecordingSink sink;
        clsTruss truss(sink);
        truss.setParameters(input);
        try {
            truss.generate();
            ADD_FAILURE() << "built";
        } catch (const TrussBuildError& e) {
            EXPECT_EQ(e.kind(), kind);
        }
        EXPECT_EQ(truss.noMax(), 0);
    }
}

// Read from the geometry, a Pratt truss's groups are those its numbering
// gives, whatever its size; where the geometry cannot tell (no span, no
// height), the numbering tells.
TEST(MemberGroups, OfAPrattTrussAreThoseOfItsNumbering)
{
    const auto byNumbering = [](const TrussFileContent& t, int m) {
        const int panels = t.noNodes / 2 - 1, a = end(t, m, MemberColumn::First), b = end(t, m, MemberColumn::Second);
        if ((a <= panels + 1) == (b <= panels + 1))
            return a <= panels + 1 ? MemberGroup::BottomChord : MemberGroup::TopChord;
        return std::abs(a - b) == panels + 1 ? MemberGroup::Vertical : MemberGroup::Diagonal;
    };
    for (const auto& [L, h] : {std::pair{6.0f, 1.0f}, {7.7f, -1.25f}, {-5.0f, 2.0f}, {0.0f, 1.0f}, {6.0f, 0.0f}})
        for (int np = 1; np <= 9; ++np) {
            SCOPED_TRACE(testing::Message() << np << " panels, span " << L << ", height " << h);
            const TrussFileContent t = built(inputOf(TrussType::Pratt, np, L, h));
            for (int m = 1; m <= t.noMembers; ++m)
                EXPECT_EQ(groupOf(t, m), byNumbering(t, m)) << "member " << m;
            EXPECT_EQ(panelsOf(t), np);
        }
}

}  // namespace
