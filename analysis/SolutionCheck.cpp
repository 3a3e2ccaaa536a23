#include "analysis/SolutionCheck.h"

#include <algorithm>
#include <cmath>

#include "analysis/Equilibrium.h"
#include "kvrfile/TrussVocabulary.h"
#include "kvrfile/NumberText.h"

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
// moment divided by the truss's size. reaction(n, d): node n's in x (d 0)
// or y (d 1).
template <class W, class Reaction>
W overallBalance(const TrussFileContent& t, Reaction reaction)
{
    const int pin = std::max(supportsOf(t).pin(), 1);  // a checked truss has one
    W x = W(0), y = W(0), moment = W(0);
    for (int n = 1; n <= t.noNodes; ++n) {
        const W fx = reaction(n, 0), fy = reaction(n, 1) + W(t.node(n, NodeColumn::Load));
        x += fx;
        y += fy;
        moment += (W(t.node(n, NodeColumn::X)) - W(t.node(pin, NodeColumn::X))) * fy
                  - (W(t.node(n, NodeColumn::Y)) - W(t.node(pin, NodeColumn::Y))) * fx;
    }
    const W size = W(extentOf(t).size());
    return std::max({magnitude(x), magnitude(y), magnitude(moment) / size});
}

// The refusal where numbers rounded to double fail the balance that their
// exact values pass: "the member forces, rounded to double precision ...".
std::string tooLarge(const std::string& numbers, const std::string& unbalanced, const std::string& loads, double largest,
                     double scale)
{
    return "the " + numbers + ", rounded to double precision as they are given, leave " + unbalanced
           + " out of balance by more than " + relativeToleranceText() + " of the " + loads + ": the " + numbers
           + " are too large for the loads (the largest, " + formatSignificant(largest, 3) + " kN, is "
           + formatSignificant(largest / scale, 3) + " times the loads)";
}

}  // namespace

template <class W>
CheckedSolution checkedSolution(const TrussSystem& s, const std::vector<Bar<W>>& bars, const Refined<W>& r,
                                const std::vector<W>& force, const ErrorBounds& bound, int arithmetic)
{
    const TrussFileContent& t = s.truss;
    const Freedoms& freedoms = s.freedoms;
    const std::string uncertainNode = freedoms.count() > 0 ? freedoms.nameOf(static_cast<int>(largestAt(r.step))) : "file";
    if (r.diverged)
        return {std::nullopt, uncertainNode, {}};

    TrussSolution solution;
    solution.nodes.resize(t.nodeRows());
    solution.members.resize(t.memberRows());
    solution.unknowns = freedoms.count();
    solution.arithmetic = arithmetic;
    Accuracy& accuracy = solution.accuracy;
    const W rounding = roundingOf<W>();
    const auto moved = [&](int unknown) { return unknown < 0 ? W(0) : r.x[u(unknown)]; };

    // Member forces, and the error of each: the larger of the last
    // correction's share and the bound, the rounding of the force's own
    // computation, and its rounding to double. The member least certain is
    // the one of the largest correction.
    const std::vector<W> correction = forcesOf(bars, s.at, r.step);
    std::vector<double> printed(bars.size(), 0.0), forceError(bars.size(), 0.0), corrected(bars.size(), 0.0),
        roundedBy(bars.size(), 0.0);
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const Bar<W>& bar = bars[m];
        const W reach = lengtheningSize(bar, s.at[m].at, r.x);
        printed[m] = static_cast<double>(force[m]);
        corrected[m] = static_cast<double>(W(r.margin) * magnitude(correction[m]));
        roundedBy[m] =
            static_cast<double>(W(forceRoundings) * rounding * bar.stiffness * reach) + doubleRounding * std::fabs(printed[m]);
        forceError[m] = std::max(corrected[m], bound.force) + roundedBy[m];
        const double area = t.member(static_cast<int>(m), MemberColumn::A);
        solution.members[m] = {printed[m], printed[m] / area * newtonsPerKilonewton};  // kN / mm2 = 1000 N/mm2
        accuracy.force = std::max(accuracy.force, forceError[m]);
    }
    for (std::size_t m = 1; m < bars.size(); ++m)
        accuracy.stress = std::max(accuracy.stress, stressAccuracy(solution, int(m), t.member(int(m), MemberColumn::A)));

    // Displacements; reactions, where a support holds a node, from the
    // forces as given, and their error: the larger of the last correction's
    // share and the bound, the forces' roundings and that of the sum.
    std::vector<W> held(t.nodeRows() * directions, W(0)), heldSize(held.size(), W(0));
    std::vector<double> heldCorrected(held.size(), 0.0), heldRounding(held.size(), 0.0);
    std::vector<int> heldTerms(held.size(), 1);
    for (int n = 1; n <= t.noNodes; ++n) {
        held[Freedoms::slot(n, 1)] = W(t.node(n, NodeColumn::Load));
        heldSize[Freedoms::slot(n, 1)] = magnitude(held[Freedoms::slot(n, 1)]);
    }
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const Bar<W>& bar = bars[m];
        const W f = W(printed[m]);
        for (const auto& [node, sign] : {std::pair{bar.first, 1}, std::pair{bar.second, -1}})
            for (int d = 0; d < directions; ++d) {
                const std::size_t slot = Freedoms::slot(node, d);
                const W pull = W(sign) * f * (d == 0 ? bar.c : bar.s);
                held[slot] += pull;
                heldSize[slot] += magnitude(pull);
                heldCorrected[slot] += corrected[m];
                heldRounding[slot] += roundedBy[m];
                ++heldTerms[slot];
            }
    }
    const W largestMove = largestOf(r.x);
    int worstSupport = 1, strongestSupport = 1;
    double strongest = 0;
    for (int n = 1; n <= t.noNodes; ++n) {
        NodeResult& node = solution.nodes[u(n)];
        node.ux = static_cast<double>(moved(freedoms.index(n, 0)));
        node.uy = static_cast<double>(moved(freedoms.index(n, 1)));
        double* reaction[directions] = {&node.rx, &node.ry};
        for (int d = 0; d < directions; ++d)
            if (freedoms.index(n, d) < 0) {
                const std::size_t slot = Freedoms::slot(n, d);
                *reaction[d] = -static_cast<double>(held[slot]);
                const double error = std::max(heldCorrected[slot], bound.reaction[slot]) + heldRounding[slot]
                                     + static_cast<double>(W(heldTerms[slot] + nodeRoundings) * rounding * heldSize[slot])
                                     + doubleRounding * std::fabs(*reaction[d]);
                if (error > accuracy.reaction) {
                    accuracy.reaction = error;
                    worstSupport = n;
                }
                if (std::fabs(*reaction[d]) > strongest) {
                    strongest = std::fabs(*reaction[d]);
                    strongestSupport = n;
                }
            }
    }
    // The rounding to double, and another of the millimetres they are printed in.
    accuracy.displacement =
        std::max(static_cast<double>(W(r.margin) * largestOf(r.step) + rounding * largestMove), bound.displacement)
        + 2 * doubleRounding * static_cast<double>(largestMove);

    // The check, on the numbers as given. The free nodes' balance and the
    // forces' accuracy are measured against the loads that reach the
    // members, not those a support takes where they stand; the reactions,
    // each carrying its node's load, against all of them.
    const std::vector<W> loadsOn = loadsOf<W>(t, freedoms);
    const std::vector<W> left = outOfBalance(bars, s.at, printed, loadsOn);
    const std::size_t worstNode = largestAt(left);
    solution.residual = left.empty() ? 0.0 : static_cast<double>(magnitude(left[worstNode]));
    const auto printedReaction = [&](int n, int d) { return W(d == 0 ? solution.nodes[u(n)].rx : solution.nodes[u(n)].ry); };
    solution.imbalance = static_cast<double>(overallBalance<W>(t, printedReaction));
    double loads = 0, memberLoads = 0, largestForce = 0;
    for (int n = 1; n <= t.noNodes; ++n) {
        loads += std::fabs(t.node(n, NodeColumn::Load));
        if (freedoms.index(n, 1) >= 0)
            memberLoads += std::fabs(t.node(n, NodeColumn::Load));
    }
    for (const MemberResult& member : solution.members)
        largestForce = std::max(largestForce, std::fabs(member.force));
    solution.tolerance = relativeTolerance * memberLoads;
    solution.reactionTolerance = relativeTolerance * loads;
    const std::string loadsWord = memberLoads == loads ? "loads" : "loads off the supports";

    const bool finite = std::isfinite(accuracy.displacement) && std::isfinite(accuracy.force) && std::isfinite(accuracy.stress)
                        && std::isfinite(accuracy.reaction) && std::isfinite(solution.residual)
                        && std::isfinite(solution.imbalance);
    if (!finite || !(accuracy.displacement <= relativeTolerance * static_cast<double>(largestMove)))
        return {std::nullopt, uncertainNode, {}};
    if (!(accuracy.force <= relativeTolerance * std::max(largestForce, memberLoads)))
        return {std::nullopt, "member " + std::to_string(largestAt(corrected)), {}};
    if (!(solution.residual <= solution.tolerance)) {
        const std::string where = freedoms.nameOf(static_cast<int>(worstNode));
        // The forces before their rounding to double in balance: the rounding is what fails.
        if (largestOf(outOfBalance(bars, s.at, force, loadsOn)) <= W(solution.tolerance))
            return {std::nullopt, where, tooLarge("member forces", "this node", loadsWord, largestForce, memberLoads)};
        return {std::nullopt, where, {}};
    }
    if (!(solution.imbalance <= solution.reactionTolerance)) {
        const auto exactReaction = [&](int n, int d) { return freedoms.index(n, d) < 0 ? -held[Freedoms::slot(n, d)] : W(0); };
        if (overallBalance<W>(t, exactReaction) <= W(solution.reactionTolerance))
            return {std::nullopt, "node " + std::to_string(strongestSupport),
                    tooLarge("reactions", "the truss", "loads", strongest, loads)};
        return {std::nullopt, "node " + std::to_string(worstSupport), {}};
    }
    if (!(accuracy.reaction <= solution.reactionTolerance))
        return {std::nullopt, "node " + std::to_string(worstSupport), {}};
    return {std::move(solution), {}, {}};
}

template CheckedSolution checkedSolution(const TrussSystem&, const std::vector<Bar<Extended>>&, const Refined<Extended>&,
                                         const std::vector<Extended>&, const ErrorBounds&, int);
#if AMBRELL_HAS_QUAD
template CheckedSolution checkedSolution(const TrussSystem&, const std::vector<Bar<Quad>>&, const Refined<Quad>&,
                                         const std::vector<Quad>&, const ErrorBounds&, int);
#endif
