#include "analysis/TrussSolver.h"

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

// One factorisation in T, refined with residuals in W, its error bounded,
// checked.
template <class T, class W>
CheckedSolution attempt(const TrussSystem& s, int steps)
{
    const std::vector<Bar<T>> bars = barsOf<T>(s.truss);
    LdlFactor<T> factor;
    const int failed = factor.factorise(s.pattern.upper(), s.shape,
                                        s.pattern.values(bars, [](std::size_t, const Bar<T>& bar) { return bar.stiffness; }));
    if (failed >= 0)
        return {std::nullopt, s.freedoms.nameOf(s.pattern.unknownAt(failed)), {}};
    const std::vector<Bar<W>> wide = barsOf<W>(s.truss);
    const std::vector<W> loads = loadsOf<W>(s.truss, s.freedoms);
    const auto residualOf = [&](const std::vector<W>& x) { return outOfBalance(wide, s.at, forcesOf(wide, s.at, x), loads); };
    const Refined<W> refined = refine(factor, s.pattern, loads, residualOf, steps);
    const std::vector<W> force = forcesOf(wide, s.at, refined.x);
    return checkedSolution(s, wide, refined, force, errorBoundsOf(s, factor, wide, loads, refined, force), Precision<T>::bits);
}

// The arithmetics, narrowest first, each tried while the one before falls
// short of the check (not on a limit of double that no arithmetic lifts)
// and the work so far, the exact mechanism test's included, and its own fit
// the budget.
struct Solved {
    CheckedSolution result;
    int widest = 0;  // bits of the widest arithmetic tried
};

Solved solved(const TrussSystem& s, double exactTestWork)
{
    using namespace analysisLimits;
    const double attemptWork = s.shape.operations + solutionsPerAttempt * 2 * double(s.shape.entries);  // in double
    double spent = exactTestWork + attemptWork;
    const auto widerWorthTrying = [&](const Solved& r, double cost) {
        return !r.result.solution && r.result.limit.empty() && (spent += attemptWork * cost) <= workBudget;
    };
    Solved r{attempt<double, Extended>(s, 10), Precision<double>::bits};
    if constexpr (Precision<Extended>::bits > Precision<double>::bits)
        if (widerWorthTrying(r, extendedCost))
            r = {attempt<Extended, Quad>(s, 8), Precision<Extended>::bits};
    if constexpr (Precision<Quad>::bits > Precision<Extended>::bits)
        if (widerWorthTrying(r, quadCost))
            r = {attempt<Quad, Quad>(s, 5), Precision<Quad>::bits};
    return r;
}

}  // namespace

TrussAnalysis solveTruss(const TrussFileContent& truss)
{
    const TrussCheckReport report = checkTruss(truss);
    if (!report.findings.empty())
        return {std::nullopt, refusalOf(report.findings)};

    const TrussSystem system(truss);
    const Rigidity rigidity = rigidityOf(system);
    if (rigidity.verdict == Rigidity::Verdict::Mechanism)
        return {std::nullopt, mechanismLine(rigidity)};
    if (!system.tooInterconnected.empty())
        return {std::nullopt, system.tooInterconnected};

    Solved s = solved(system, rigidity.work);
    if (!s.result.solution && !s.result.limit.empty())
        return {std::nullopt, s.result.leastCertain + ": " + s.result.limit};
    if (!s.result.solution)
        return {std::nullopt, s.result.leastCertain + ": the truss is too ill-conditioned to analyse to "
                                  + relativeToleranceText() + " in " + arithmeticName(s.widest)
                                  + (s.widest < Precision<Quad>::bits ? ", the widest its size allows here" : "")
                                  + "; its solution is least certain here"};
    return {std::move(s.result.solution), {}};
}
