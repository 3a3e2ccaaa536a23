#include "analysis/TrussSolver.h"

#include <algorithm>
#include <cmath>

#include <Eigen/SparseCholesky>

#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussStructure.h"

namespace {

using Matrix = Eigen::SparseMatrix<double>;
// A fill-reducing ordering keeps the factor of a long truss banded, so that
// the cost grows with the number of panels, not with its square.
using Factorisation = Eigen::SimplicialLDLT<Matrix, Eigen::Lower, Eigen::AMDOrdering<int>>;

// A pivot below this share of its own diagonal entry means that nothing
// stiff is left in that direction once the others are accounted for. A
// mechanism leaves rounding, about 1e-15; a long shallow truss that stands
// (8191 panels 1 m long, 0.01 m high) keeps about 1e-9.
constexpr double singularPivot = 1e-12;

constexpr int directions = 2;  // x, y
const char* const directionName[directions] = {"x", "y"};

// One member as the stiffness method sees it.
struct Bar {
    int first, second;
    double c, s;       // direction cosines from the first node to the second
    double stiffness;  // E x A / L, kN/m
    double area;       // mm2
};

std::vector<Bar> barsOf(const TrussFileContent& t)
{
    std::vector<Bar> bars(t.memberRows());
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        const double dx = double(t.node(b, NodeColumn::X)) - t.node(a, NodeColumn::X);
        const double dy = double(t.node(b, NodeColumn::Y)) - t.node(a, NodeColumn::Y);
        const double length = std::hypot(dx, dy);
        const double ea = double(t.member(m, MemberColumn::E)) * t.member(m, MemberColumn::A);  // kN/mm2 x mm2 = kN
        bars[static_cast<std::size_t>(m)] = {a, b, dx / length, dy / length, ea / length, t.member(m, MemberColumn::A)};
    }
    return bars;
}

// Two displacements a node, x then y; the free ones are the unknowns,
// numbered from 0, and the ones a support holds are -1.
class Freedoms {
public:
    explicit Freedoms(const TrussFileContent& t) : index_(t.nodeRows() * directions, -1), node_(), direction_()
    {
        for (int n = 1; n <= t.noNodes; ++n) {
            const float code = t.node(n, NodeColumn::Support);
            const bool held[directions] = {code == SupportCode::Pin, code == SupportCode::Pin || code == SupportCode::Roller};
            for (int d = 0; d < directions; ++d)
                if (!held[d]) {
                    index_[slot(n, d)] = static_cast<int>(node_.size());
                    node_.push_back(n);
                    direction_.push_back(d);
                }
        }
    }

    int index(int node, int direction) const { return index_[slot(node, direction)]; }
    int count() const { return static_cast<int>(node_.size()); }
    std::string nameOf(int unknown) const
    {
        const auto u = static_cast<std::size_t>(unknown);
        return "node " + std::to_string(node_[u]) + " in " + directionName[direction_[u]];
    }
    static std::size_t slot(int node, int direction) { return static_cast<std::size_t>(node * directions + direction); }

private:
    std::vector<int> index_;
    std::vector<int> node_, direction_;
};

// The lower triangle of the stiffness matrix of the free displacements.
Matrix stiffness(const std::vector<Bar>& bars, const Freedoms& freedoms)
{
    std::vector<Eigen::Triplet<double>> entries;
    entries.reserve(bars.size() * 10);
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const Bar& bar = bars[m];
        const int dof[4] = {freedoms.index(bar.first, 0), freedoms.index(bar.first, 1), freedoms.index(bar.second, 0),
                            freedoms.index(bar.second, 1)};
        const double g[4] = {-bar.c, -bar.s, bar.c, bar.s};  // elongation per unit displacement
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                if (dof[i] >= 0 && dof[j] >= 0 && dof[i] >= dof[j])
                    entries.emplace_back(dof[i], dof[j], bar.stiffness * g[i] * g[j]);
    }
    Matrix k(freedoms.count(), freedoms.count());
    k.setFromTriplets(entries.begin(), entries.end());
    return k;
}

Eigen::VectorXd loadsOf(const TrussFileContent& t, const Freedoms& freedoms)
{
    Eigen::VectorXd f = Eigen::VectorXd::Zero(freedoms.count());
    for (int n = 1; n <= t.noNodes; ++n)
        if (const int y = freedoms.index(n, 1); y >= 0)
            f[y] = t.node(n, NodeColumn::Load);
    return f;
}

// The first pivot of the factorisation that found no stiffness left, named
// by the node and direction it belongs to; empty when there is none.
std::string mechanism(const Factorisation& factor, const Matrix& k, const Freedoms& freedoms)
{
    const Eigen::VectorXd diagonal = k.diagonal();
    const Eigen::VectorXd& pivots = factor.vectorD();
    const auto& original = factor.permutationPinv().indices();
    for (Eigen::Index p = 0; p < pivots.size(); ++p) {
        const int unknown = original[p];
        if (!(pivots[p] > singularPivot * diagonal[unknown]))
            return freedoms.nameOf(unknown) + ": no stiffness is left there when the factorisation reaches it: "
                   + "the truss is a mechanism, its stiffness matrix is singular";
    }
    return {};
}

// Member forces from the displacements, then what each node is left with:
// the reaction where a support holds it, the residual where it is free.
TrussSolution recover(const TrussFileContent& t, const std::vector<Bar>& bars, const Freedoms& freedoms,
                      const Eigen::VectorXd& u)
{
    TrussSolution solution{std::vector<NodeResult>(t.nodeRows()), std::vector<MemberResult>(t.memberRows()),
                           freedoms.count(), 0.0};
    std::vector<double> full(t.nodeRows() * directions, 0.0), unbalanced(full.size(), 0.0);
    for (int n = 1; n <= t.noNodes; ++n) {
        for (int d = 0; d < directions; ++d)
            if (const int i = freedoms.index(n, d); i >= 0)
                full[Freedoms::slot(n, d)] = u[i];
        unbalanced[Freedoms::slot(n, 1)] = t.node(n, NodeColumn::Load);
    }
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const Bar& bar = bars[m];
        const double elongation = bar.c * (full[Freedoms::slot(bar.second, 0)] - full[Freedoms::slot(bar.first, 0)])
                                  + bar.s * (full[Freedoms::slot(bar.second, 1)] - full[Freedoms::slot(bar.first, 1)]);
        const double force = bar.stiffness * elongation;
        solution.members[m] = {force, force / bar.area * newtonsPerKilonewton};  // kN / mm2 = 1000 N/mm2
        // A member in tension pulls each of its nodes towards the other.
        unbalanced[Freedoms::slot(bar.first, 0)] += force * bar.c;
        unbalanced[Freedoms::slot(bar.first, 1)] += force * bar.s;
        unbalanced[Freedoms::slot(bar.second, 0)] -= force * bar.c;
        unbalanced[Freedoms::slot(bar.second, 1)] -= force * bar.s;
    }
    for (int n = 1; n <= t.noNodes; ++n) {
        NodeResult& node = solution.nodes[static_cast<std::size_t>(n)];
        node.ux = full[Freedoms::slot(n, 0)];
        node.uy = full[Freedoms::slot(n, 1)];
        double* reaction[directions] = {&node.rx, &node.ry};
        for (int d = 0; d < directions; ++d) {
            const double left = unbalanced[Freedoms::slot(n, d)];
            if (freedoms.index(n, d) >= 0)
                solution.residual = std::max(solution.residual, std::fabs(left));
            else
                *reaction[d] = -left;
        }
    }
    return solution;
}

std::string refusalOf(const std::vector<Finding>& findings)
{
    const Finding& first = findings.front();
    std::string line = first.where + ": " + first.what;
    if (findings.size() > 1)
        line += " (and " + std::to_string(findings.size() - 1) + (findings.size() == 2 ? " more finding)" : " more findings)");
    return line;
}

}  // namespace

TrussAnalysis solveTruss(const TrussFileContent& truss)
{
    const TrussCheckReport report = checkTruss(truss);
    if (!report.findings.empty())
        return {std::nullopt, refusalOf(report.findings)};

    const std::vector<Bar> bars = barsOf(truss);
    const Freedoms freedoms(truss);
    const Matrix k = stiffness(bars, freedoms);
    const Factorisation factor(k);
    if (std::string singular = mechanism(factor, k, freedoms); !singular.empty())
        return {std::nullopt, std::move(singular)};
    if (factor.info() != Eigen::Success)
        return {std::nullopt, "file: the stiffness matrix cannot be factorised"};
    const Eigen::VectorXd u = factor.solve(loadsOf(truss, freedoms));
    return {recover(truss, bars, freedoms, u), {}};
}
