#include "analysis/SolutionCheck.h"

#include <algorithm>
#include <cmath>

#include "analysis/Equilibrium.h"

namespace {

std::size_t u(int i) { return static_cast<std::size_t>(i); }

constexpr double doubleRounding = 0x1p-53;

template <class W>
std::size_t largestAt(const std::vector<W>& v)
{
    std::size_t at = 0;
    for (std::size_t i = 1; i < v.size(); ++i)
        if (magnitude(v[i]) > magnitude(v[at]))
            at = i;
    return at;
}

// What the loads, the reactions and the lever arms about the pin leave
// unbalanced, as a force: the larger of the two sums of forces and of the
// moment divided by the truss's size.
template <class W>
W overallBalance(const TrussFileContent& t, const std::vector<NodeResult>& nodes)
{
    int pin = 1;
    double low = t.node(1, NodeColumn::X), high = low, bottom = t.node(1, NodeColumn::Y), top = bottom;
    for (int n = 1; n <= t.noNodes; ++n) {
        if (t.node(n, NodeColumn::Support) == SupportCode::Pin)
            pin = n;
        low = std::min<double>(low, t.node(n, NodeColumn::X));
        high = std::max<double>(high, t.node(n, NodeColumn::X));
        bottom = std::min<double>(bottom, t.node(n, NodeColumn::Y));
        top = std::max<double>(top, t.node(n, NodeColumn::Y));
    }
    W x = W(0), y = W(0), moment = W(0);
    for (int n = 1; n <= t.noNodes; ++n) {
        const NodeResult& r = nodes[u(n)];
        const W fx = W(r.rx), fy = W(r.ry) + W(t.node(n, NodeColumn::Load));
        x += fx;
        y += fy;
        moment += (W(t.node(n, NodeColumn::X)) - W(t.node(pin, NodeColumn::X))) * fy
                  - (W(t.node(n, NodeColumn::Y)) - W(t.node(pin, NodeColumn::Y))) * fx;
    }
    const W size = W(std::max(high - low, top - bottom));
    return std::max({magnitude(x), magnitude(y), magnitude(moment) / size});
}

}  // namespace

template <class W>
CheckedSolution checkedSolution(const TrussSystem& s, const std::vector<Bar<W>>& bars, const Refined<W>& r, int arithmetic)
{
    const TrussFileContent& t = s.truss;
    const Freedoms& freedoms = s.freedoms;
    const std::string uncertainNode = freedoms.count() > 0 ? freedoms.nameOf(static_cast<int>(largestAt(r.step))) : "file";
    if (r.diverged)
        return {std::nullopt, uncertainNode};

    TrussSolution solution{std::vector<NodeResult>(t.nodeRows()), std::vector<MemberResult>(t.memberRows()),
                           freedoms.count(), 0.0, 0.0, {}, arithmetic};
    Accuracy& accuracy = solution.accuracy;
    const W rounding = roundingOf<W>();
    const auto moved = [&](int unknown) { return unknown < 0 ? W(0) : r.x[u(unknown)]; };

    // Member forces, and the error of each: the last correction's share,
    // what the displacements' own rounding leaves in the lengthening, and
    // the rounding to double.
    const std::vector<W> force = forcesOf(bars, s.at, r.x), correction = forcesOf(bars, s.at, r.step);
    std::vector<double> printed(bars.size(), 0.0), forceError(bars.size(), 0.0);
    double smallestArea = HUGE_VAL;
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const Bar<W>& bar = bars[m];
        const int* q = s.at[m].at;
        const W reach = magnitude(bar.c) * (magnitude(moved(q[0])) + magnitude(moved(q[2])))
                        + magnitude(bar.s) * (magnitude(moved(q[1])) + magnitude(moved(q[3])));
        printed[m] = static_cast<double>(force[m]);
        forceError[m] = static_cast<double>(W(r.margin) * magnitude(correction[m]) + W(4) * rounding * bar.stiffness * reach)
                        + doubleRounding * std::fabs(printed[m]);
        const double area = t.member(static_cast<int>(m), MemberColumn::A);
        solution.members[m] = {printed[m], printed[m] / area * newtonsPerKilonewton};  // kN / mm2 = 1000 N/mm2
        accuracy.force = std::max(accuracy.force, forceError[m]);
        smallestArea = std::min(smallestArea, area);
    }
    accuracy.stress = accuracy.force / smallestArea * newtonsPerKilonewton;

    // Displacements; reactions, where a support holds a node, from the
    // forces as given, and their error from the forces' errors.
    std::vector<W> held(t.nodeRows() * directions, W(0));
    std::vector<double> heldError(held.size(), 0.0);
    for (int n = 1; n <= t.noNodes; ++n)
        held[Freedoms::slot(n, 1)] = W(t.node(n, NodeColumn::Load));
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const Bar<W>& bar = bars[m];
        const W f = W(printed[m]);
        for (const auto& [node, sign] : {std::pair{bar.first, 1}, std::pair{bar.second, -1}}) {
            held[Freedoms::slot(node, 0)] += W(sign) * f * bar.c;
            held[Freedoms::slot(node, 1)] += W(sign) * f * bar.s;
            heldError[Freedoms::slot(node, 0)] += forceError[m];
            heldError[Freedoms::slot(node, 1)] += forceError[m];
        }
    }
    const W largestMove = largestOf(r.x);
    int worstSupport = 1;
    for (int n = 1; n <= t.noNodes; ++n) {
        NodeResult& node = solution.nodes[u(n)];
        node.ux = static_cast<double>(moved(freedoms.index(n, 0)));
        node.uy = static_cast<double>(moved(freedoms.index(n, 1)));
        double* reaction[directions] = {&node.rx, &node.ry};
        for (int d = 0; d < directions; ++d)
            if (freedoms.index(n, d) < 0) {
                *reaction[d] = -static_cast<double>(held[Freedoms::slot(n, d)]);
                const double error = heldError[Freedoms::slot(n, d)] + doubleRounding * std::fabs(*reaction[d]);
                if (error > accuracy.reaction) {
                    accuracy.reaction = error;
                    worstSupport = n;
                }
            }
    }
    accuracy.displacement = static_cast<double>(W(r.margin) * largestOf(r.step) + rounding * largestMove)
                            + doubleRounding * static_cast<double>(largestMove);

    // The check, on the numbers as given.
    const std::vector<W> left = outOfBalance(bars, s.at, printed, loadsOf<W>(t, freedoms));
    const std::size_t worstNode = largestAt(left);
    const double freeResidual = left.empty() ? 0.0 : static_cast<double>(magnitude(left[worstNode]));
    solution.residual = std::max(freeResidual, static_cast<double>(overallBalance<W>(t, solution.nodes)));
    double loads = 0, largestForce = 0;
    for (int n = 1; n <= t.noNodes; ++n)
        loads += std::fabs(t.node(n, NodeColumn::Load));
    for (const MemberResult& member : solution.members)
        largestForce = std::max(largestForce, std::fabs(member.force));
    solution.tolerance = relativeTolerance * loads;

    const bool finite = std::isfinite(accuracy.displacement) && std::isfinite(accuracy.force) && std::isfinite(accuracy.stress)
                        && std::isfinite(accuracy.reaction) && std::isfinite(solution.residual);
    if (!finite || !(accuracy.displacement <= relativeTolerance * static_cast<double>(largestMove)))
        return {std::nullopt, uncertainNode};
    if (!(accuracy.force <= relativeTolerance * std::max(largestForce, loads)))
        return {std::nullopt, "member " + std::to_string(largestAt(forceError))};
    if (!(solution.residual <= solution.tolerance) || !(accuracy.reaction <= solution.tolerance))
        return {std::nullopt, freeResidual > solution.tolerance ? freedoms.nameOf(static_cast<int>(worstNode)) : "node " + std::to_string(worstSupport)};
    return {std::move(solution), {}};
}

template CheckedSolution checkedSolution(const TrussSystem&, const std::vector<Bar<Extended>>&, const Refined<Extended>&, int);
#if AMBRELL_HAS_QUAD
template CheckedSolution checkedSolution(const TrussSystem&, const std::vector<Bar<Quad>>&, const Refined<Quad>&, int);
#endif
