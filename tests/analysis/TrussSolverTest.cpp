// The solver against closed forms: method of sections and virtual work.
#include <gtest/gtest.h>

#include <cmath>

#include "TrussTestSupport.h"
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
// on its top nodes 0..np (kN): every member force by the method of sections.
struct Pratt {
    int np;
    double p, h;
    std::vector<double> load;

    double left() const
    {
        double total = 0, moment = 0;
        for (int i = 0; i <= np; ++i) {
            total += load[std::size_t(i)];
            moment += load[std::size_t(i)] * i;
        }
        return total - moment / np;
    }
    double moment(int j) const  // at panel point j
    {
        double m = left() * j * p;
        for (int i = 0; i < j; ++i)
            m -= load[std::size_t(i)] * (j - i) * p;
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
        const double d = std::hypot(p, h);
        for (int k = 1; k <= np; ++k) {
            const bool leftHalf = 2 * k <= np;  // its diagonal runs down towards the middle
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
    Pratt pratt{np, t.node(2, NodeColumn::X), t.node(np + 2, NodeColumn::Y), {}};
    for (int j = 0; j <= np; ++j)
        pratt.load.push_back(-t.node(np + 2 + j, NodeColumn::Load));
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
            EXPECT_NEAR(analysis.value->members[std::size_t(m)].force, expected[std::size_t(m)], 1e-5 * scale) << "member " << m;
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

}  // namespace
