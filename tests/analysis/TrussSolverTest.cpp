// The solver against closed forms: method of sections and virtual work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "TrussTestSupport.h"
#include "analysis/Precision.h"
#include "analysis/TrussSolver.h"

namespace {

TrussFileContent built(const TrussParameters& parameters)
{
    RecordingSink sink;
    clsTruss truss(sink);
    truss.setParameters(parameters);
    truss.generate();
    return readBack(encoded(truss));
}

// An even-panel Pratt truss as the builder numbers it, under downward loads
// on its top nodes 0..np (kN): every member force by the method of
// sections, about the nodes where the file puts them.
struct Pratt {
    int np;
    double p, h;
    std::vector<double> load, x;

    double left() const
    {
        double total = 0, moment = 0;
        for (int i = 0; i <= np; ++i) {
            total += load[std::size_t(i)];
            moment += load[std::size_t(i)] * (x[std::size_t(i)] - x[0]);
        }
        return total - moment / (x[std::size_t(np)] - x[0]);
    }
    double moment(int j) const  // at panel point j
    {
        double m = left() * (x[std::size_t(j)] - x[0]);
        for (int i = 0; i < j; ++i)
            m -= load[std::size_t(i)] * (x[std::size_t(j)] - x[std::size_t(i)]);
        return m;
    }
    double shear(int k) const  // in panel k, 1..np
    {
        double v = left();
        for (int i = 0; i < k; ++i)
            v -= load[std::size_t(i)];
        return v;
    }
    // Indexed by member number: chords, verticals, diagonals.
    std::vector<double> forces() const
    {
        std::vector<double> f(std::size_t(4 * np + 2));
        for (int k = 1; k <= np; ++k) {
            const bool leftHalf = 2 * k <= np;  // its diagonal runs down towards the middle
            const double d = std::hypot(x[std::size_t(k)] - x[std::size_t(k - 1)], h);
            f[std::size_t(k)] = moment(leftHalf ? k - 1 : k) / h;
            f[std::size_t(np + k)] = -moment(leftHalf ? k : k - 1) / h;
            f[std::size_t(3 * np + 1 + k)] = (leftHalf ? 1 : -1) * shear(k) * d / h;
        }
        for (int j = 0; j <= np; ++j)
            f[std::size_t(2 * np + 1 + j)] = -load[std::size_t(j)] - (2 * j < np ? shear(j + 1) : 0) + (2 * j > np ? shear(j) : 0);
        return f;
    }
    double length(int m) const { return m <= 2 * np ? p : m <= 3 * np + 1 ? h : std::hypot(p, h); }
};

Pratt prattOf(const TrussFileContent& t, int np)
{
    Pratt pratt{np, t.node(2, NodeColumn::X), t.node(np + 2, NodeColumn::Y), {}, {}};
    for (int j = 0; j <= np; ++j) {
        pratt.load.push_back(-t.node(np + 2 + j, NodeColumn::Load));
        pratt.x.push_back(t.node(1 + j, NodeColumn::X));
    }
    return pratt;
}

struct Case {
    float L, h, w;
    std::int16_t np;
};

const Case evenCases[] = {{6, 1, 10, 2}, {6, 1, 10, 4}, {12, 1.5f, 7.5f, 6}, {30, 2, 4, 10}};

TrussParameters parametersOf(const Case& c, float ea = 205.0f * 100.0f)
{
    TrussParameters input = windowStart();
    input.L = c.L;
    input.h = c.h;
    input.loadValue = c.w;
    input.np = c.np;
    input.topE = input.btmE = input.webE = ea / 100.0f;
    return input;
}

TEST(TrussSolver, EvenPrattForcesAndReactionsByTheMethodOfSections)
{
    for (const Case& c : evenCases) {
        SCOPED_TRACE(testing::Message() << c.np << " panels");
        const TrussFileContent t = built(parametersOf(c));
        const TrussAnalysis analysis = solveTruss(t);
        EXPECT_TRUE(analysis.value) << analysis.error;
        if (!analysis.value)
            continue;
        const std::vector<double> expected = prattOf(t, c.np).forces();
        const double scale = c.w * c.L * c.L / 8 / c.h;  // the largest chord force
        for (int m = 1; m <= t.noMembers; ++m)
            EXPECT_NEAR(analysis.value->members[std::size_t(m)].force, expected[std::size_t(m)], relativeTolerance * scale)
                << "member " << m;
        const NodeResult& pin = analysis.value->nodes[1];
        const NodeResult& roller = analysis.value->nodes[std::size_t(c.np + 1)];
        EXPECT_NEAR(pin.ry, c.w * c.L / 2, 1e-5 * c.w * c.L);
        EXPECT_NEAR(roller.ry, c.w * c.L / 2, 1e-5 * c.w * c.L);
        EXPECT_NEAR(pin.rx, 0.0, 1e-9 * c.w * c.L);
        EXPECT_LT(analysis.value->residual, 1e-9 * c.w * c.L);
    }
}

// Virtual work: a unit load at the middle top node gives forces f, and that
// node sinks by the sum of F f l / (E A).
TEST(TrussSolver, SymmetricDeflectionByVirtualWork)
{
    const double ea = 205.0 * 100.0;  // kN
    for (const Case& c : evenCases) {
        SCOPED_TRACE(testing::Message() << c.np << " panels");
        const TrussFileContent t = built(parametersOf(c));
        const Pratt real = prattOf(t, c.np);
        Pratt unit = real;
        unit.load.assign(unit.load.size(), 0.0);
        unit.load[std::size_t(c.np / 2)] = 1.0;
        const std::vector<double> F = real.forces(), f = unit.forces();
        double work = 0;
        for (int m = 1; m <= t.noMembers; ++m)
            work += F[std::size_t(m)] * f[std::size_t(m)] * real.length(m) / ea;
        const TrussAnalysis analysis = solveTruss(t);
        EXPECT_TRUE(analysis.value) << analysis.error;
        if (!analysis.value)
            continue;
        const NodeResult& middle = analysis.value->nodes[std::size_t(c.np + 2 + c.np / 2)];
        EXPECT_NEAR(-middle.uy, work, 1e-5 * work);
    }
}

// One panel, both diagonals: one member redundant. With the second diagonal
// cut and a unit pair of forces in it, virtual work gives its force X and the
// sinking of the loaded top nodes.
TEST(TrussSolver, SinglePanelDeflectionByVirtualWork)
{
    for (const float ea : {20500.0f, 4100.0f}) {
        const Case c{6, 1, 10, 1};
        const TrussFileContent t = built(parametersOf(c, ea));
        const double p = c.L, h = c.h, d = std::hypot(p, h), half = c.w * c.L / 2;
        const double d10 = 2 * half * (h / d) * h, d11 = 2 * d + 2 * (p / d) * (p / d) * p + 2 * (h / d) * (h / d) * h;
        const double x = -d10 / d11;
        const double vertical = -half - x * h / d;
        const TrussAnalysis analysis = solveTruss(t);
        EXPECT_TRUE(analysis.value) << analysis.error;
        if (!analysis.value)
            continue;
        const auto& s = *analysis.value;
        EXPECT_NEAR(s.members[3].force, vertical, 1e-6 * half);
        EXPECT_NEAR(s.members[5].force, x, 1e-6 * half);
        EXPECT_NEAR(s.members[6].force, x, 1e-6 * half);
        EXPECT_NEAR(s.members[2].force, -x * p / d, 1e-6 * half);
        for (const int top : {3, 4})
            EXPECT_NEAR(s.nodes[std::size_t(top)].uy, vertical * h / ea, 1e-6 * half * h / ea) << "node " << top;
    }
}

// Long shallow trusses of 1 m panels, statically determinate: statics gives
// their forces however badly conditioned their stiffness matrix is. solve
// gives those forces or refuses the truss; never other forces, never "a
// mechanism". bits: the arithmetic a row needs (0: none); where the
// platform has none so wide, it is refused as too ill-conditioned.
struct Slender {
    std::int16_t np;
    float h;
    int bits;
    const char* refusal;  // where bits is 0 and the platform has binary128
};

const Slender slenderCases[] = {
    {10, 1, 53, nullptr},
    {100, 0.01f, 64, nullptr},
    {1000, 0.1f, 64, nullptr},
    {1000, 0.001f, 113, nullptr},
    // Forces 1.25e7 times the loads: rounded to double, no arithmetic makes them balance to 1e-9 of the loads.
    {1000, 1e-5f, 0,
     " in x: the member forces, rounded to double precision as they are given, leave this node out of balance by more than 1e-9 "
     "of the loads: the member forces are too large for the loads (the largest, 1.25e+10 kN, is 1.25e+07 times the loads)"},
};

TEST(TrussSolver, SlenderTrussesGiveTheForcesOfStaticsOrAreRefusedSayingWhy)
{
    for (const Slender& c : slenderCases) {
        SCOPED_TRACE(testing::Message() << c.np << " panels " << c.h << " m high");
        const TrussFileContent t = built(parametersOf({float(c.np), c.h, 1, c.np}));
        const TrussAnalysis analysis = solveTruss(t);
        if (c.bits == 0 || c.bits > Precision<Quad>::bits) {
            EXPECT_FALSE(analysis.value);
            const char* refusal = c.bits == 0 && AMBRELL_HAS_QUAD ? c.refusal : ": the truss is too ill-conditioned";
            EXPECT_NE(analysis.error.find(refusal), std::string::npos) << analysis.error;
            continue;
        }
        EXPECT_TRUE(analysis.value) << analysis.error;
        if (!analysis.value)
            continue;
        const std::vector<double> expected = prattOf(t, c.np).forces();
        const double largest = std::fabs(*std::max_element(expected.begin(), expected.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); }));
        for (int m = 1; m <= t.noMembers; ++m)
            EXPECT_NEAR(analysis.value->members[std::size_t(m)].force, expected[std::size_t(m)], relativeTolerance * largest)
                << "member " << m;
        EXPECT_NEAR(analysis.value->nodes[1].ry, c.np / 2.0, relativeTolerance * c.np);
    }
}

// A truss from its nodes (x, y, load, support code) and members (first and
// second node, E, A), as the reader would give it.
struct NodeRow {
    float x, y, load, support;
};
struct MemberRow {
    int first, second;
    float e, a;
};

TrussFileContent trussOf(const std::vector<NodeRow>& nodes, const std::vector<MemberRow>& members)
{
    TrussFileContent t;
    t.noNodes = std::int16_t(nodes.size());
    t.noMembers = std::int16_t(members.size());
    t.noMax = std::max(t.noNodes, t.noMembers);
    t.size = t.expectedSize = trussFile::fileSize(nodes.size(), members.size());
    t.nodes = SingleTable(t.nodeRows(), trussFile::nodeColumns);
    t.members = SingleTable(t.memberRows(), trussFile::memberColumns);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        t.nodes(i + 1, NodeColumn::X) = nodes[i].x;
        t.nodes(i + 1, NodeColumn::Y) = nodes[i].y;
        t.nodes(i + 1, NodeColumn::Load) = nodes[i].load;
        t.nodes(i + 1, NodeColumn::Support) = nodes[i].support;
    }
    for (std::size_t i = 0; i < members.size(); ++i) {
        t.members(i + 1, MemberColumn::First) = float(members[i].first);
        t.members(i + 1, MemberColumn::Second) = float(members[i].second);
        t.members(i + 1, MemberColumn::E) = members[i].e;
        t.members(i + 1, MemberColumn::A) = members[i].a;
    }
    return t;
}

// The builder's truss as rows, to be changed.
std::pair<std::vector<NodeRow>, std::vector<MemberRow>> rowsOf(const TrussFileContent& t)
{
    std::pair<std::vector<NodeRow>, std::vector<MemberRow>> rows;
    for (int n = 1; n <= t.noNodes; ++n)
        rows.first.push_back({t.node(n, NodeColumn::X), t.node(n, NodeColumn::Y), t.node(n, NodeColumn::Load), t.node(n, NodeColumn::Support)});
    for (int m = 1; m <= t.noMembers; ++m)
        rows.second.push_back({int(t.member(m, MemberColumn::First)), int(t.member(m, MemberColumn::Second)), t.member(m, MemberColumn::E),
                               t.member(m, MemberColumn::A)});
    return rows;
}

// Seven panels 30 m long and 1 m high. The third has no diagonal and the
// first two, so that m + r = 2j and every node is on two members: the two
// halves turn about the pin and the roller with nothing to stop them,
// though rounding leaves the stiffness matrix a pivot (with members of two
// different E, as here, it did not even look small).
TEST(TrussSolver, AHiddenMechanismIsRefusedNamingANode)
{
    auto [nodes, members] = rowsOf(built(parametersOf({210, 1, 1, 7})));
    const std::size_t np = 7, diagonal = 3 * np;     // members[diagonal + k]: panel k's diagonal
    members[diagonal + 3] = {1, int(np) + 3, 0, 0};  // the third panel's becomes the first panel's second
    members[diagonal + 4] = {int(np) + 5, 5, 0, 0};  // the middle panel's runs down to the right, uncrossed
    members.pop_back();
    for (std::size_t m = 0; m < members.size(); ++m)
        members[m] = {members[m].first, members[m].second, m % 2 == 0 ? 205.0f : 70.0f, 100};
    const TrussAnalysis analysis = solveTruss(trussOf(nodes, members));
    EXPECT_FALSE(analysis.value);
    EXPECT_TRUE(analysis.error.starts_with("node ")) << analysis.error;
    EXPECT_NE(analysis.error.find(": the truss is a mechanism: node "), std::string::npos) << analysis.error;
}

// Two triangles joined by three members that neither meet in a point nor
// run parallel: it stands, but is not built node by node. Two of its nodes
// sit 2^-30 m off the axes, so that modulo 2^61 - 1 the first triangle's
// corners lie in line (1 x 2 - 2^-30 x 2^-30 = (2^61 - 1) 2^-60).
TEST(TrussSolver, ATrussThatStandsIsNotCalledAMechanismWhateverItsCoordinates)
{
    const float off = 0x1p-30f, load = 10;
    const TrussAnalysis analysis = solveTruss(trussOf(
        {{0, 0, 0, 1}, {1, off, 0, 0}, {off, 2, 0, 0}, {4, 3, -load, 0}, {6, 0, 0, 2}, {5, -1, 0, 0}},
        {{1, 2, 205, 1000}, {2, 3, 205, 1000}, {1, 3, 205, 1000}, {4, 5, 205, 1000}, {5, 6, 205, 1000}, {4, 6, 205, 1000},
         {2, 4, 205, 1000}, {3, 5, 205, 1000}, {1, 6, 205, 1000}}));
    ASSERT_TRUE(analysis.value) << analysis.error;
    EXPECT_NEAR(analysis.value->nodes[5].ry, double(load) * 4 / 6, relativeTolerance * load);
}

// Pin, roller and a loaded apex: statics alone gives the forces, whatever
// the members' E A, here 1e12 apart.
TEST(TrussSolver, ATriangleOfVeryUnequalMembersIsSolvedAsStaticsSays)
{
    const double sine = 2 / std::sqrt(13.0), cosine = 3 / std::sqrt(13.0), load = 10;
    for (const auto& [bottom, sides] : {std::pair{1e6f, 1e-6f}, std::pair{1e-6f, 1e6f}}) {
        SCOPED_TRACE(testing::Message() << "A " << bottom << " mm2 at the bottom, " << sides << " mm2 at the sides");
        const TrussAnalysis analysis = solveTruss(trussOf({{0, 0, 0, 1}, {6, 0, 0, 2}, {3, 2, -float(load), 0}},
                                                         {{1, 2, 205, bottom}, {1, 3, 205, sides}, {2, 3, 205, sides}}));
        EXPECT_TRUE(analysis.value) << analysis.error;
        if (!analysis.value)
            continue;
        const double side = -load / 2 / sine, expected[] = {0, -side * cosine, side, side};
        for (int m = 1; m <= 3; ++m)
            EXPECT_NEAR(analysis.value->members[std::size_t(m)].force, expected[m], relativeTolerance * load) << "member " << m;
        EXPECT_NEAR(analysis.value->nodes[1].ry, load / 2, relativeTolerance * load);
    }
}

// A load where a support holds its node goes straight into the reaction:
// it changes no force, and loosens no check of the forces. The contrast:
// members of A 1e14 and 1e-14 mm2, too ill-conditioned even in binary128.
struct SupportLoad {
    const char* name;
    bool contrast;
    float pinLoad;  // kN
};

const SupportLoad supportLoads[] = {
    {"1e6 kN on the pin", false, -1e6f},
    {"1e20 kN on the pin of the contrast", true, -1e20f},
};

TEST(TrussSolver, ALoadOnASupportGoesIntoItsReactionAndLoosensNoCheck)
{
    for (const SupportLoad& c : supportLoads) {
        SCOPED_TRACE(c.name);
        auto [nodes, members] = rowsOf(built(parametersOf({6, 1, 10, 7})));
        if (c.contrast)
            for (std::size_t m = 0; m < members.size(); ++m)
                members[m].a = m % 3 == 0 ? 1e14f : 1e-14f;
        const TrussAnalysis free = solveTruss(trussOf(nodes, members));
        nodes[0].load = c.pinLoad;
        const TrussAnalysis loaded = solveTruss(trussOf(nodes, members));
        if (c.contrast) {
            EXPECT_FALSE(free.value);
            EXPECT_FALSE(loaded.value) << "solved with forces within " << loaded.value->accuracy.force << " kN";
            EXPECT_EQ(loaded.error, free.error);
            continue;
        }
        ASSERT_TRUE(free.value && loaded.value) << free.error << loaded.error;
        EXPECT_EQ(loaded.value->tolerance, free.value->tolerance);
        EXPECT_DOUBLE_EQ(loaded.value->reactionTolerance, free.value->tolerance + relativeTolerance * 1e6);
        for (std::size_t m = 1; m < members.size() + 1; ++m)
            EXPECT_NEAR(loaded.value->members[m].force, free.value->members[m].force, free.value->tolerance) << "member " << m;
        EXPECT_NEAR(loaded.value->nodes[1].ry, free.value->nodes[1].ry + 1e6, loaded.value->reactionTolerance);
    }
}

// A roller straight above the pin, or on its very point, holds nothing that
// turning about the pin moves: a mechanism however the truss is built,
// named by a node that turning moves.
struct Turning {
    const char* name;
    std::vector<NodeRow> nodes;
    const char* refusal;
};

TEST(TrussSolver, ATrussOnAPinAndARollerInItsVerticalTurnsAboutThePin)
{
    const std::vector<MemberRow> triangleAndNode = {
        {1, 2, 205, 100}, {2, 3, 205, 100}, {1, 3, 205, 100}, {4, 2, 205, 100}, {4, 3, 205, 100}};
    const Turning cases[] = {
        {"roller above the pin",
         {{0, 0, 0, 1}, {6, 0, 0, 0}, {3, 2, -10, 0}, {0, 4, 0, 2}},
         "node 4 in x: the truss is a mechanism: node 4 can move in x without any member changing length"},
        {"roller on the pin's point",
         {{0, 0, 0, 1}, {6, 0, 0, 0}, {3, 2, -10, 0}, {0, 0, 0, 2}},
         "node 3 in x: the truss is a mechanism: node 3 can move in x without any member changing length"},
    };
    for (const Turning& c : cases) {
        SCOPED_TRACE(c.name);
        const TrussAnalysis analysis = solveTruss(trussOf(c.nodes, triangleAndNode));
        EXPECT_FALSE(analysis.value);
        EXPECT_EQ(analysis.error, c.refusal);
    }
}

// Members joining random nodes at random, every node on three or more: no
// plane truss looks like this, but a file may. Solved, the solution is
// checked here on its own terms: every node in equilibrium, every force E A
// / L times its member's lengthening. Large, it is refused before its
// factorisation fills in.
TEST(TrussSolver, InterconnectedTrussesAreSolvedOrRefusedWithinTheBound)
{
    for (const auto& [joints, bars] : {std::pair{60, 150}, std::pair{16383, 32766}}) {
        SCOPED_TRACE(testing::Message() << joints << " nodes, " << bars << " members");
        std::mt19937 random(15);
        std::uniform_real_distribution<float> place(0, 100);
        std::vector<NodeRow> nodes(std::size_t(joints), NodeRow{});
        for (NodeRow& n : nodes)
            n = {place(random), place(random), -1, 0};
        nodes[0].support = 1;
        nodes[1].support = 2;
        std::set<std::pair<int, int>> joined;
        std::vector<int> on(std::size_t(joints) + 1, 0);
        std::uniform_int_distribution<int> pick(1, joints);
        const auto join = [&](int a, int b) {
            if (a != b && joined.insert(std::minmax(a, b)).second)
                ++on[std::size_t(a)], ++on[std::size_t(b)];
        };
        for (int n = 1; n <= joints; ++n)
            while (on[std::size_t(n)] < 3)
                join(n, pick(random));
        while (int(joined.size()) < bars)
            join(pick(random), pick(random));
        std::vector<MemberRow> members;
        for (const auto& [a, b] : joined)
            members.push_back({a, b, 205, 100});
        const TrussFileContent t = trussOf(nodes, members);
        const TrussAnalysis analysis = solveTruss(t);
        if (joints > 1000) {
            EXPECT_NE(analysis.error.find("file: the members are too interconnected to analyse here"), std::string::npos)
                << analysis.error;
            continue;
        }
        EXPECT_TRUE(analysis.value) << analysis.error;
        if (!analysis.value)
            continue;
        const TrussSolution& s = *analysis.value;
        std::vector<double> left(2 * t.nodeRows(), 0.0);
        for (int n = 1; n <= joints; ++n) {
            left[2 * std::size_t(n) + 1] = t.node(n, NodeColumn::Load) + s.nodes[std::size_t(n)].ry;
            left[2 * std::size_t(n)] = s.nodes[std::size_t(n)].rx;
        }
        for (int m = 1; m <= t.noMembers; ++m) {
            const MemberRow& r = members[std::size_t(m) - 1];
            const NodeResult &a = s.nodes[std::size_t(r.first)], &b = s.nodes[std::size_t(r.second)];
            const double dx = double(t.node(r.second, NodeColumn::X)) - t.node(r.first, NodeColumn::X);
            const double dy = double(t.node(r.second, NodeColumn::Y)) - t.node(r.first, NodeColumn::Y), l = std::hypot(dx, dy);
            const double force = s.members[std::size_t(m)].force;
            EXPECT_NEAR(force, 205.0 * 100 / l * ((b.ux - a.ux) * dx / l + (b.uy - a.uy) * dy / l), relativeTolerance * joints)
                << "member " << m;
            left[2 * std::size_t(r.first)] += force * dx / l;
            left[2 * std::size_t(r.first) + 1] += force * dy / l;
            left[2 * std::size_t(r.second)] -= force * dx / l;
            left[2 * std::size_t(r.second) + 1] -= force * dy / l;
        }
        for (std::size_t i = 2; i < left.size(); ++i)
            EXPECT_NEAR(left[i], 0.0, relativeTolerance * joints) << "node " << i / 2 << (i % 2 ? " in y" : " in x");
    }
}

}  // namespace
