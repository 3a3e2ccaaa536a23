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
W overallBalance(const TrussFileContent& t, const NodeForces& loads, Reaction reaction)
{
    const int pin = std::max(supportsOf(t).pin(), 1);  // a checked truss has one
    W x = W(0), y = W(0), moment = W(0);
    for (int n = 1; n <= t.noNodes; ++n) {
        const NodeForce& load = loads[u(n)];
        const W fx = reaction(n, 0) + W(load.fx), fy = reaction(n, 1) + W(load.fy);
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

// The steps of checkedSolution, in order, on the numbers they share.
template <class W>
class SolutionChecker {
public:
    SolutionChecker(const TrussSystem& s, const NodeForces& loads, const std::vector<Bar<W>>& bars, const Refined<W>& r,
                    const std::vector<W>& force, const ErrorBounds& bound)
        : s_(s), t_(s.truss), loads_(loads), freedoms_(s.freedoms), bars_(bars), r_(r), force_(force), bound_(bound)
    {
    }

    CheckedSolution run(int arithmetic)
    {
        const std::string uncertainNode = freedoms_.count() > 0 ? freedoms_.nameOf(static_cast<int>(largestAt(r_.step))) : "file";
        if (r_.diverged)
            return {std::nullopt, uncertainNode, {}};
        solution_.nodes.resize(t_.nodeRows());
        solution_.members.resize(t_.memberRows());
        solution_.unknowns = freedoms_.count();
        solution_.arithmetic = arithmetic;
        solution_.loads = loads_;
        memberForces();
        heldForces();
        nodeResults();
        displacementAccuracy();
        measureBalance();
        return verdict(uncertainNode);
    }

private:
    // Member forces, and the error of each: the larger of the last
    // correction's share and the bound, the rounding of the force's own
    // computation, and its rounding to double. The member least certain is
    // the one of the largest correction.
    void memberForces()
    {
        Accuracy& accuracy = solution_.accuracy;
        const std::vector<W> correction = forcesOf(bars_, s_.at, r_.step);
        printed_.assign(bars_.size(), 0.0);
        corrected_.assign(bars_.size(), 0.0);
        roundedBy_.assign(bars_.size(), 0.0);
        std::vector<double> forceError(bars_.size(), 0.0);
        for (std::size_t m = 1; m < bars_.size(); ++m) {
            const Bar<W>& bar = bars_[m];
            const W reach = lengtheningSize(bar, s_.at[m].at, r_.x);
            printed_[m] = static_cast<double>(force_[m]);
            corrected_[m] = static_cast<double>(W(r_.margin) * magnitude(correction[m]));
            roundedBy_[m] =
                static_cast<double>(W(forceRoundings) * rounding_ * bar.stiffness * reach) + doubleRounding * std::fabs(printed_[m]);
            forceError[m] = std::max(corrected_[m], bound_.force) + roundedBy_[m];
            const double area = t_.member(static_cast<int>(m), MemberColumn::A);
            solution_.members[m] = {printed_[m], printed_[m] / area * newtonsPerKilonewton};  // kN / mm2 = 1000 N/mm2
            accuracy.force = std::max(accuracy.force, forceError[m]);
        }
        for (std::size_t m = 1; m < bars_.size(); ++m)
            accuracy.stress = std::max(accuracy.stress, stressAccuracy(solution_, int(m), t_.member(int(m), MemberColumn::A)));
    }

    // What the members, from the forces as given, and the loads hold at
    // each node in each direction; with the sizes, corrections and roundings
    // that a reaction's error sums.
    void heldForces()
    {
        held_.assign(t_.nodeRows() * directions, W(0));
        heldSize_.assign(held_.size(), W(0));
        heldCorrected_.assign(held_.size(), 0.0);
        heldRounding_.assign(held_.size(), 0.0);
        heldTerms_.assign(held_.size(), 1);
        for (int n = 1; n <= t_.noNodes; ++n)
            for (int d = 0; d < directions; ++d) {
                const std::size_t slot = Freedoms::slot(n, d);
                held_[slot] = W(d == 0 ? loads_[u(n)].fx : loads_[u(n)].fy);
                heldSize_[slot] = magnitude(held_[slot]);
            }
        for (std::size_t m = 1; m < bars_.size(); ++m) {
            const Bar<W>& bar = bars_[m];
            const W f = W(printed_[m]);
            for (const auto& [node, sign] : {std::pair{bar.first, 1}, std::pair{bar.second, -1}})
                for (int d = 0; d < directions; ++d) {
                    const std::size_t slot = Freedoms::slot(node, d);
                    const W pull = W(sign) * f * (d == 0 ? bar.c : bar.s);
                    held_[slot] += pull;
                    heldSize_[slot] += magnitude(pull);
                    heldCorrected_[slot] += corrected_[m];
                    heldRounding_[slot] += roundedBy_[m];
                    ++heldTerms_[slot];
                }
        }
    }

    // Displacements; reactions, where a support holds a node, and their
    // error: the larger of the last correction's share and the bound, the
    // forces' roundings and that of the sum.
    void nodeResults()
    {
        const auto moved = [&](int unknown) { return unknown < 0 ? W(0) : r_.x[u(unknown)]; };
        for (int n = 1; n <= t_.noNodes; ++n) {
            NodeResult& node = solution_.nodes[u(n)];
            node.ux = static_cast<double>(moved(freedoms_.index(n, 0)));
            node.uy = static_cast<double>(moved(freedoms_.index(n, 1)));
            double* reaction[directions] = {&node.rx, &node.ry};
            for (int d = 0; d < directions; ++d)
                if (freedoms_.index(n, d) < 0)
                    supportReaction(n, Freedoms::slot(n, d), *reaction[d]);
        }
    }

    void supportReaction(int n, std::size_t slot, double& reaction)
    {
        reaction = -static_cast<double>(held_[slot]);
        const double error = std::max(heldCorrected_[slot], bound_.reaction[slot]) + heldRounding_[slot]
                             + static_cast<double>(W(heldTerms_[slot] + nodeRoundings) * rounding_ * heldSize_[slot])
                             + doubleRounding * std::fabs(reaction);
        if (error > solution_.accuracy.reaction) {
            solution_.accuracy.reaction = error;
            worstSupport_ = n;
        }
        if (std::fabs(reaction) > strongest_) {
            strongest_ = std::fabs(reaction);
            strongestSupport_ = n;
        }
    }

    // The rounding to double, and another of the millimetres they are printed in.
    void displacementAccuracy()
    {
        largestMove_ = largestOf(r_.x);
        solution_.accuracy.displacement =
            std::max(static_cast<double>(W(r_.margin) * largestOf(r_.step) + rounding_ * largestMove_), bound_.displacement)
            + 2 * doubleRounding * static_cast<double>(largestMove_);
    }

    // The balance of the numbers as given. The free nodes' balance and the
    // forces' accuracy are measured against the loads that reach the
    // members, not those a support takes where they stand; the reactions,
    // each carrying its node's load, against all of them.
    void measureBalance()
    {
        loadsOn_ = loadsOf<W>(loads_, freedoms_);
        const std::vector<W> left = outOfBalance(bars_, s_.at, printed_, loadsOn_);
        worstNode_ = largestAt(left);
        solution_.residual = left.empty() ? 0.0 : static_cast<double>(magnitude(left[worstNode_]));
        const auto printedReaction = [&](int n, int d) { return W(d == 0 ? solution_.nodes[u(n)].rx : solution_.nodes[u(n)].ry); };
        solution_.imbalance = static_cast<double>(overallBalance<W>(t_, loads_, printedReaction));
        for (int n = 1; n <= t_.noNodes; ++n)
            for (int d = 0; d < directions; ++d) {
                const double size = std::fabs(d == 0 ? loads_[u(n)].fx : loads_[u(n)].fy);
                allLoads_ += size;
                if (freedoms_.index(n, d) >= 0)
                    memberLoads_ += size;
            }
        for (const MemberResult& member : solution_.members)
            largestForce_ = std::max(largestForce_, std::fabs(member.force));
        solution_.tolerance = relativeTolerance * memberLoads_;
        solution_.reactionTolerance = relativeTolerance * allLoads_;
    }

    CheckedSolution verdict(const std::string& uncertainNode)
    {
        const Accuracy& accuracy = solution_.accuracy;
        const bool finite = std::isfinite(accuracy.displacement) && std::isfinite(accuracy.force) && std::isfinite(accuracy.stress)
                            && std::isfinite(accuracy.reaction) && std::isfinite(solution_.residual)
                            && std::isfinite(solution_.imbalance);
        if (!finite || !(accuracy.displacement <= relativeTolerance * static_cast<double>(largestMove_)))
            return {std::nullopt, uncertainNode, {}};
        if (!(accuracy.force <= relativeTolerance * std::max(largestForce_, memberLoads_)))
            return {std::nullopt, "member " + std::to_string(largestAt(corrected_)), {}};
        if (!(solution_.residual <= solution_.tolerance))
            return unbalancedNode();
        if (!(solution_.imbalance <= solution_.reactionTolerance))
            return unbalancedTruss();
        if (!(accuracy.reaction <= solution_.reactionTolerance))
            return {std::nullopt, "node " + std::to_string(worstSupport_), {}};
        return {std::move(solution_), {}, {}};
    }

    // The forces before their rounding to double in balance: the rounding is what fails.
    CheckedSolution unbalancedNode() const
    {
        const std::string where = freedoms_.nameOf(static_cast<int>(worstNode_));
        const std::string loadsWord = memberLoads_ == allLoads_ ? "loads" : "loads off the supports";
        if (largestOf(outOfBalance(bars_, s_.at, force_, loadsOn_)) <= W(solution_.tolerance))
            return {std::nullopt, where, tooLarge("member forces", "this node", loadsWord, largestForce_, memberLoads_)};
        return {std::nullopt, where, {}};
    }

    // The exact reactions in balance: their rounding to double is what fails.
    CheckedSolution unbalancedTruss() const
    {
        const auto exactReaction = [&](int n, int d) { return freedoms_.index(n, d) < 0 ? -held_[Freedoms::slot(n, d)] : W(0); };
        if (overallBalance<W>(t_, loads_, exactReaction) <= W(solution_.reactionTolerance))
            return {std::nullopt, "node " + std::to_string(strongestSupport_),
                    tooLarge("reactions", "the truss", "loads", strongest_, allLoads_)};
        return {std::nullopt, "node " + std::to_string(worstSupport_), {}};
    }

    const TrussSystem& s_;
    const TrussFileContent& t_;
    const NodeForces& loads_;
    const Freedoms& freedoms_;
    const std::vector<Bar<W>>& bars_;
    const Refined<W>& r_;
    const std::vector<W>& force_;
    const ErrorBounds& bound_;
    const W rounding_ = roundingOf<W>();

    TrussSolution solution_;
    std::vector<double> printed_, corrected_, roundedBy_;  // by member
    std::vector<W> held_, heldSize_;                        // by node and direction
    std::vector<double> heldCorrected_, heldRounding_;
    std::vector<int> heldTerms_;
    int worstSupport_ = 1, strongestSupport_ = 1;
    double strongest_ = 0;
    W largestMove_ = W(0);
    std::vector<W> loadsOn_;
    std::size_t worstNode_ = 0;
    double allLoads_ = 0, memberLoads_ = 0, largestForce_ = 0;
};

}  // namespace

template <class W>
CheckedSolution checkedSolution(const TrussSystem& s, const NodeForces& loads, const std::vector<Bar<W>>& bars,
                                const Refined<W>& r, const std::vector<W>& force, const ErrorBounds& bound, int arithmetic)
{
    return SolutionChecker<W>(s, loads, bars, r, force, bound).run(arithmetic);
}

template CheckedSolution checkedSolution(const TrussSystem&, const NodeForces&, const std::vector<Bar<Extended>>&, const Refined<Extended>&,
                                         const std::vector<Extended>&, const ErrorBounds&, int);
#if AMBRELL_HAS_QUAD
template CheckedSolution checkedSolution(const TrussSystem&, const NodeForces&, const std::vector<Bar<Quad>>&, const Refined<Quad>&,
                                         const std::vector<Quad>&, const ErrorBounds&, int);
#endif
