#include "loads/CaseSolutions.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double doubleRounding = 0x1p-53;

const CaseSolution& caseNamed(std::span<const CaseSolution> cases, const std::string& name)
{
    return *std::find_if(cases.begin(), cases.end(), [&](const CaseSolution& c) { return c.name == name; });
}

// Each value the sum of factor x the case's value, and the sizes of its
// terms, over which the sum's rounding is bounded.
struct Summed {
    double value = 0.0, size = 0.0;
    void add(double factor, double term)
    {
        value += factor * term;
        size += std::fabs(factor * term);
    }
};

// Each product and each addition rounds once: a factor such as 1.35 is
// not a double either, which one more rounding a term covers.
double roundingsOf(std::span<const CombinationTerm> terms) { return 3.0 * double(terms.size() + 1) * doubleRounding; }

}  // namespace

Result<std::vector<CaseSolution>> solveCases(const TrussFileContent& truss, std::span<const CaseLoads> cases)
{
    std::vector<NodeForces> loads;
    for (const CaseLoads& c : cases)
        loads.push_back(c.forces);
    std::vector<TrussAnalysis> analyses = solveTruss(truss, loads);
    std::vector<CaseSolution> solved;
    for (std::size_t c = 0; c < cases.size(); ++c) {
        if (!analyses[c].value) {
            const bool same = std::all_of(analyses.begin(), analyses.end(), [&](const TrussAnalysis& a) { return a.error == analyses[c].error; });
            return {std::nullopt, same && cases.size() > 1 ? analyses[c].error : "case " + cases[c].name + ": " + analyses[c].error};
        }
        solved.push_back({cases[c].name, std::move(*analyses[c].value)});
    }
    return {std::move(solved), {}};
}

void combineMembers(std::span<const CombinationTerm> terms, std::span<const CaseSolution> cases, CombinedMembers& into)
{
    const std::size_t members = cases.front().solution.members.size();
    into.members.assign(members, MemberResult{});
    into.sizes.assign(members, 0.0);
    into.accuracy = {};
    into.arithmetic = 0;
    double stressed = 0;
    std::vector<double> stressSizes(members, 0.0);
    for (const CombinationTerm& term : terms) {
        const TrussSolution& s = caseNamed(cases, term.caseName).solution;
        const double f = term.factor, size = std::fabs(f);
        for (std::size_t m = 0; m < members; ++m) {
            into.members[m].force += f * s.members[m].force;
            into.members[m].stress += f * s.members[m].stress;
            into.sizes[m] += size * std::fabs(s.members[m].force);
            stressSizes[m] += size * std::fabs(s.members[m].stress);
        }
        into.accuracy.force += size * s.accuracy.force;
        into.accuracy.stress += size * s.accuracy.stress;
        into.arithmetic = std::max(into.arithmetic, s.arithmetic);
    }
    double pulled = 0;
    for (std::size_t m = 0; m < members; ++m) {
        pulled = std::max(pulled, into.sizes[m]);
        stressed = std::max(stressed, stressSizes[m]);
    }
    into.accuracy.force += roundingsOf(terms) * pulled;
    into.accuracy.stress += roundingsOf(terms) * stressed;
}

TrussSolution combinedSolution(std::span<const CombinationTerm> terms, std::span<const CaseSolution> cases)
{
    const TrussSolution& first = cases.front().solution;
    CombinedMembers members;
    combineMembers(terms, cases, members);
    TrussSolution sum;
    sum.unknowns = first.unknowns;
    sum.arithmetic = members.arithmetic;
    sum.members = std::move(members.members);
    sum.accuracy.force = members.accuracy.force;
    sum.accuracy.stress = members.accuracy.stress;
    std::vector<Summed> ux(first.nodes.size()), uy(ux.size()), rx(ux.size()), ry(ux.size()), fx(ux.size()), fy(ux.size());
    for (const CombinationTerm& term : terms) {
        const TrussSolution& s = caseNamed(cases, term.caseName).solution;
        const double f = term.factor, size = std::fabs(f);
        for (std::size_t n = 0; n < ux.size(); ++n) {
            ux[n].add(f, s.nodes[n].ux);
            uy[n].add(f, s.nodes[n].uy);
            rx[n].add(f, s.nodes[n].rx);
            ry[n].add(f, s.nodes[n].ry);
            fx[n].add(f, s.loads[n].fx);
            fy[n].add(f, s.loads[n].fy);
        }
        sum.residual += size * s.residual;
        sum.imbalance += size * s.imbalance;
        sum.tolerance += size * s.tolerance;
        sum.reactionTolerance += size * s.reactionTolerance;
        sum.accuracy.displacement += size * s.accuracy.displacement;
        sum.accuracy.reaction += size * s.accuracy.reaction;
    }
    double moved = 0, held = 0;
    sum.nodes.resize(ux.size());
    sum.loads.resize(ux.size());
    for (std::size_t n = 0; n < ux.size(); ++n) {
        sum.nodes[n] = {ux[n].value, uy[n].value, rx[n].value, ry[n].value};
        sum.loads[n] = {fx[n].value, fy[n].value};
        moved = std::max({moved, ux[n].size, uy[n].size});
        held = std::max({held, rx[n].size, ry[n].size});
    }
    sum.accuracy.displacement += roundingsOf(terms) * moved;
    sum.accuracy.reaction += roundingsOf(terms) * held;
    return sum;
}
