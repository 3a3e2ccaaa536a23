#include "analysis/TrussSolver.h"

#include <cmath>

#include "analysis/AnalysisLimits.h"
#include "analysis/Equilibrium.h"
#include "analysis/ErrorBound.h"
#include "analysis/Rigidity.h"
#include "analysis/SolutionCheck.h"
#include "kvrfile/TrussCheck.h"

namespace {

std::string refusalOf(const std::vector<Finding>& findings)
{
    const Finding& first = findings.front();
    std::string line = first.where + ": " + first.what;
    if (findings.size() > 1)
        line += " (and " + std::to_string(findings.size() - 1) + (findings.size() == 2 ? " more finding)" : " more findings)");
    return line;
}

std::string mechanismLine(const Rigidity& r)
{
    const std::string count = std::to_string(r.members) + " members and " + std::to_string(r.reactions) + " reactions";
    if (r.where.empty())
        return "file: the truss is a mechanism: " + count + " are fewer than the " + std::to_string(2 * r.joints) + " that "
               + std::to_string(r.joints) + " joints need";
    return r.where + ": the truss is a mechanism: " + r.freeMotion + " without any member changing length";
}

// One factorisation in T; each case's solution refined with residuals in
// W, its error bounded, checked. Only the cases asked for (those not yet
// solved) are solved.
template <class T, class W>
std::vector<CheckedSolution> attempt(const TrussSystem& s, std::span<const NodeForces> cases, const std::vector<bool>& asked,
                                     int steps)
{
    std::vector<CheckedSolution> results(cases.size());
    const std::vector<Bar<T>> bars = barsOf<T>(s.truss);
    LdlFactor<T> factor;
    const int failed = factor.factorise(s.pattern.upper(), s.shape,
                                        s.pattern.values(bars, [](std::size_t, const Bar<T>& bar) { return bar.stiffness; }));
    if (failed >= 0) {
        for (CheckedSolution& r : results)
            r.leastCertain = s.freedoms.nameOf(s.pattern.unknownAt(failed));
        return results;
    }
    const std::vector<Bar<W>> wide = barsOf<W>(s.truss);
    for (std::size_t c = 0; c < cases.size(); ++c) {
        if (!asked[c])
            continue;
        const std::vector<W> loads = loadsOf<W>(cases[c], s.freedoms);
        const auto residualOf = [&](const std::vector<W>& x) { return outOfBalance(wide, s.at, forcesOf(wide, s.at, x), loads); };
        const Refined<W> refined = refine(factor, s.pattern, loads, residualOf, steps);
        const std::vector<W> force = forcesOf(wide, s.at, refined.x);
        results[c] = checkedSolution(s, cases[c], wide, refined, force, errorBoundsOf(s, factor, wide, loads, refined, force),
                                     Precision<T>::bits);
    }
    return results;
}

// An attempt's factorisation and the solutions of so many cases, in
// multiply-adds of double.
double workOfAttempt(const TrussSystem& s, std::size_t cases)
{
    return s.shape.operations + double(cases) * analysisLimits::solutionsPerAttempt * 2 * double(s.shape.entries);
}

// Whether a case fell short of the check where a wider arithmetic may pass
// it (not on a limit of double that no arithmetic lifts).
bool shortOf(const CheckedSolution& r) { return !r.solution && r.limit.empty(); }

// The arithmetics, narrowest first, each tried on the cases the one before
// left short of the check while the work so far, the exact mechanism
// test's included, and its own fit the budget.
struct Solved {
    CheckedSolution result;
    int widest = 0;  // bits of the widest arithmetic tried
};

std::vector<Solved> solved(const TrussSystem& s, std::span<const NodeForces> cases, double exactTestWork)
{
    using namespace analysisLimits;
    const auto attemptWork = [&](std::size_t count) { return workOfAttempt(s, count); };
    double spent = exactTestWork + attemptWork(cases.size());
    std::vector<Solved> r(cases.size());
    std::vector<bool> asked(cases.size(), true);
    const auto take = [&](std::vector<CheckedSolution> results, int bits) {
        for (std::size_t c = 0; c < cases.size(); ++c)
            if (asked[c])
                r[c] = {std::move(results[c]), bits};
    };
    // Which cases a wider arithmetic of this cost is tried on: none once the budget is spent.
    const auto widerWorthTrying = [&](double cost) {
        std::size_t count = 0;
        for (std::size_t c = 0; c < cases.size(); ++c)
            count += (asked[c] = shortOf(r[c].result)) ? 1 : 0;
        return count > 0 && (spent += attemptWork(count) * cost) <= workBudget;
    };
    take(attempt<double, Extended>(s, cases, asked, 10), Precision<double>::bits);
    if constexpr (Precision<Extended>::bits > Precision<double>::bits)
        if (widerWorthTrying(extendedCost))
            take(attempt<Extended, Quad>(s, cases, asked, 8), Precision<Extended>::bits);
    if constexpr (Precision<Quad>::bits > Precision<Extended>::bits)
        if (widerWorthTrying(quadCost))
            take(attempt<Quad, Quad>(s, cases, asked, 5), Precision<Quad>::bits);
    return r;
}

TrussAnalysis analysisOf(Solved s)
{
    if (!s.result.solution && !s.result.limit.empty())
        return {std::nullopt, s.result.leastCertain + ": " + s.result.limit};
    if (!s.result.solution)
        return {std::nullopt, s.result.leastCertain + ": the truss is too ill-conditioned to analyse to "
                                  + relativeToleranceText() + " in " + arithmeticName(s.widest)
                                  + (s.widest < Precision<Quad>::bits ? ", the widest its size allows here" : "")
                                  + "; its solution is least certain here"};
    return {std::move(s.result.solution), {}};
}

// Why the truss cannot be solved for any load, or empty.
std::string unsolvable(const TrussSystem& system, const Rigidity& rigidity, std::size_t cases)
{
    using namespace analysisLimits;
    if (rigidity.verdict == Rigidity::Verdict::Mechanism)
        return mechanismLine(rigidity);
    if (!system.tooInterconnected.empty())
        return system.tooInterconnected;
    if (workOfAttempt(system, cases) > workBudget)
        return "file: " + std::to_string(cases) + " load cases on a truss of " + std::to_string(system.freedoms.count())
               + " unknowns are more than one analysis takes on; solve fewer at a time";
    return {};
}

// The cases on a truss that check finds consistent.
std::vector<TrussAnalysis> solveChecked(const TrussFileContent& truss, std::span<const NodeForces> cases)
{
    const auto refuseAll = [&](const std::string& why) { return std::vector<TrussAnalysis>(cases.size(), {std::nullopt, why}); };
    for (const NodeForces& loads : cases) {
        if (loads.size() != truss.nodeRows())
            return refuseAll("file: the loads are given for " + std::to_string(loads.size()) + " nodes, not "
                             + std::to_string(truss.nodeRows()));
        // The design's loads are checked before, the file's by checkTruss.
        if (const int n = unfiniteNodeOf(loads); n > 0)
            return refuseAll("node " + std::to_string(n) + ": its load is not a finite number");
    }

    const TrussSystem system(truss);
    const Rigidity rigidity = rigidityOf(system);
    if (const std::string why = unsolvable(system, rigidity, cases.size()); !why.empty())
        return refuseAll(why);

    std::vector<TrussAnalysis> analyses;
    for (Solved& s : solved(system, cases, rigidity.work))
        analyses.push_back(analysisOf(std::move(s)));
    return analyses;
}

}  // namespace

std::vector<TrussAnalysis> solveTruss(const TrussFileContent& truss, std::span<const NodeForces> cases)
{
    if (const TrussCheckReport report = checkTruss(truss); !report.findings.empty())
        return std::vector<TrussAnalysis>(cases.size(), {std::nullopt, refusalOf(report.findings)});
    return solveChecked(truss, cases);
}

TrussAnalysis solveTruss(const TrussFileContent& truss)
{
    if (const TrussCheckReport report = checkTruss(truss); !report.findings.empty())
        return {std::nullopt, refusalOf(report.findings)};
    const NodeForces loads[] = {fileLoadsOf(truss)};
    return std::move(solveChecked(truss, loads).front());
}
